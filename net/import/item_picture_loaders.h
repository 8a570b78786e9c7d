// The item-picture loaders behind the main window's load commands. Each
// takes the user's request (or, given null, asks for one with the load-item
// dialog), finds the picture addresses, downloads the pictures and adds
// them to the picture list. They run on the user-interface thread and
// block it, with the wait cursor, until the last picture is added;
// failures are told in message boxes, per-picture failures in the
// information window.
//
// Picture addresses keep their scheme: an "https://" picture is fetched
// over TLS whatever keepHttpsPictureUrls says, and every download creates
// its file exclusively in this process's download folder.
#pragma once

#include "platform/load_item_dialog.h"

#include <atomic>

// Asks the service host's picture API for the item's picture addresses.
void loadItemPicturesByService(const LoadItemRequest* request);

// Reads the item's JSON from the marketplace's mobile item service
// (itemUrlTemplate is the address the item id is appended to).
void loadItemPicturesByMobileApi(const LoadItemRequest* request);

// The default loader: direct picture addresses ("http(s)://....jpg", ';'
// between several), the service API for wholesale-marketplace addresses in
// mode 3, otherwise the item's JSON from itemUrlTemplate.
void loadItemPictures(const LoadItemRequest* request);

// The loader the load commands use in modes 1, 3, 5 and 6; initially
// loadItemPictures.
using ItemPictureLoader = void (*)(const LoadItemRequest* request);
extern std::atomic<ItemPictureLoader> itemPictureLoader;

// Chooses itemPictureLoader from itemUrlTemplate: loadItemPicturesByMobileApi
// when the template names the mobile item service, else loadItemPictures.
// Call after the start-up query has set the template.
void chooseItemPictureLoader();

// The main window's load-item commands (toolbar and list menu): the chosen
// loader in modes 1, 3, 5 and 6, the service API otherwise, each asking
// the user with the dialog.
void loadItemPicturesCommand();
