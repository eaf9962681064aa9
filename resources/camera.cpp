// Cameras and their matrices.
#include "resources/camera.h"

camera* current_camera = nullptr;
