// The service host's and the support site's addresses, read from the
// preferences (HKCU "SOFTWARE\Vessoranthe": "service_host", "support_site",
// text values, empty or missing by default). The program entry calls this
// with the other preference reads at start-up, before any request.
#pragma once

void loadServicePreferences();
