#pragma once

// What the window's start reads on other threads while the window is built
// (startWarmUps): the search rows (LearnerSearch::prepareRows), and the image
// plugins.
//
// The window's style draws its group boxes' frames from a PNG, and the first image read
// makes Qt load every image format plugin it has (each a shared library) to ask whether
// it reads the file: about 2 ms of the window's first paint. This reads a one-pixel PNG
// on a pool thread while the window is built, so that the plugins are loaded by the time
// it paints. Qt's plugin loader is shared by all threads and locks itself; image reading
// may run on any thread, and the application waits for its pool threads before it ends.
void loadImagePluginsInBackground();

class LearnerSearch;

// Starts both: the image plugins and the rows of `search`.
void startWarmUps(LearnerSearch& search);
