// Where the C library takes large blocks from.
#pragma once

// Makes every allocation of 1 MB or more a mapping of its own, returned to
// the system when freed. Left to itself, the allocator keeps freed image
// buffers in each thread's heap for reuse: with several render workers
// drawing frame-sized images, that kept memory grows by hundreds of MB
// without being used again. Process-wide; any thread may call it, any time.
void mapLargeAllocationsApart();
