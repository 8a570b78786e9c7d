// The end of every item import: each picture address is downloaded into
// this process's download folder and added to the picture list.
#pragma once

#include <string>
#include <vector>

// Shows the wait cursor, then for each address in order: stops with the limit message when the list
// already holds maxPictures pictures; else downloads it into a new file of
// its own (status-bar part 1 "下载宝贝图片: i / n") and adds the picture
// ("加载宝贝图片: i / n"). A failed download or write is logged in the
// information window and the next address follows; a failed download does
// not count towards the limit. An empty reply is passed over. Then
// refreshes the picture count, the video length and the selection state
// and shows the arrow cursor. Call on the user-interface thread.
void downloadItemPictures(const std::vector<std::string>& addresses);
