// The forms toolkit in one include: application, forms, controls, pictures.
#pragma once

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/input.h"
#include "ui/render.h"
#include "ui/surface.h"
#include "ui/types.h"
