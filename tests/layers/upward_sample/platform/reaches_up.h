#pragma once

// A file that breaks the layering in every way the check must notice.
  #  include <window/top.h>
#include "settings/../window/top.h"
#include "window/top.h"
