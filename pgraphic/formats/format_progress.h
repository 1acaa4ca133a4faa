#pragma once

#include "pgraphic/image/progress.h"

// Readers and writers report through the image's progress bracket, with the sender their format
// names.
using TPGFormatProgress = TPGProgress;
