#pragma once

#include "msarender/picture/PictureSettings.h"

/// The viewer's display settings, as the View menu sets them: the picture settings of every host, wrapped
/// to the window unless the user unwraps. Annotation rows the open file lacks are kept for the next file.
struct DisplayOptions : PictureSettings {
    DisplayOptions() { wrap = true; }
};
