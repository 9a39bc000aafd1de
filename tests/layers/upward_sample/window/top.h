#pragma once

#include "platform/reaches_up.h"
#include <QString>
