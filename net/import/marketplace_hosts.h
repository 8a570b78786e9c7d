// The outside services item import deals with. Their addresses are fixed by
// those services, not by this program.
#pragma once

// The marketplace's item page, sent as the referer of an item-JSON request
// ("https://" + host + "/item.htm?id=" + the item id).
constexpr char kItemPageHost[] = "item.taobao.com";

// The marketplace's mobile item service: an item-URL template that names it
// ("//" + host) is a prefix the item id is appended to, and its JSON has
// the mobile shape.
constexpr char kMobileItemServiceHost[] = "hws.m.taobao.com";

// Part of every address of the wholesale marketplace (1688), whose item
// pages only the service host or the browser extension can read.
constexpr char kWholesaleDomainFragment[] = ".1688.com/";
