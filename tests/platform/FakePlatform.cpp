#include "platform/FakePlatform.h"
