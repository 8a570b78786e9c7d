// Process-wide settings and state that several layers read or write.
// They live here, in the lowest layer, so that no layer has to include a
// higher one to reach them. Each is written on the user-interface thread
// before a worker that reads it starts, unless it is an atomic.
//
// Keep one section per owner, in layer order, so additions stay apart.
#pragma once

// ---- Output size (set by the size combo and the custom size dialog) ----
extern int videoWidth;   // initial 400
extern int videoHeight;  // initial 400
