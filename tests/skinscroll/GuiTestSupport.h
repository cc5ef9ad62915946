// The window tests' real input, pumping, pixels and screenshots (namespace guitest).
#pragma once

#include "support/GuiInput.h"
#include "support/ScreenCapture.h"
