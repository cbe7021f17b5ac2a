#pragma once
// The controls a form holds.
#include "platform/image_control.h"
#include "platform/paint_box.h"
#include "platform/shape.h"
