// The load shape lookup beside the load placement screen.
#pragma once

#include "input/LookupWindow.h"

const LookupDescription& LoadShapeLookup();
