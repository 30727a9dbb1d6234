#pragma once

#include "platform/IconImage.h"

namespace kestrelon {

// The picture of the new-mail icon: a white envelope on a yellow ground, 16 by 16.
IconImage NewMailIcon();

}  // namespace kestrelon
