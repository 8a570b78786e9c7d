// The end of every item import: each picture address is downloaded into
// this process's download folder and added to the picture list.
#pragma once

#include <atomic>
#include <string>
#include <vector>

// The whole time one request of an import (the picture list or one
// picture) may take, connecting included: 60 seconds, enough for the 10 MB
// a reply may have. Tests shorten it.
extern std::atomic<int> pictureDownloadDeadlineMs;

// While a request of the import waits: the windows repaint (no input but
// Escape reaches them); false once the import was asked to stop.
bool keepImporting();

// Shows the wait cursor, then for each address in order (the first four
// times maxPictures of them; the information window says how many more
// were skipped): stops with the limit message when the list already holds
// maxPictures pictures; else downloads it into a new file of its own
// (status-bar part 1 "下载宝贝图片: i / n" with the hint that Escape stops)
// and adds the picture ("加载宝贝图片: i / n"). A failed download (one that
// ran out of its time included) or write is logged in the information
// window and the next address follows; a failed download does not count
// towards the limit. An empty reply is passed over. The import stops
// before the next address, or in the middle of a download, when
// stopItemImport is called (import_stop.h). Then refreshes the picture
// count, the video length and the selection state and shows the arrow
// cursor. Call on the user-interface thread.
void downloadItemPictures(const std::vector<std::string>& addresses);
