// The core library's unit kinds built so far.
#pragma once

#include "ui/ButtonKind.h"
#include "ui/EditBoxKind.h"
#include "ui/FileDialogKind.h"
#include "ui/LabelKind.h"
#include "ui/WindowKind.h"
