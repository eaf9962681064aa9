// Cameras: a small record a scene fills by hand, from a spline or through the
// free camera, turned into the projection and modelview matrices once per
// frame. Applying the view also reads back the camera's right and back
// directions in world space, which the free camera moves along.
#pragma once

enum { CAMERA_ANGLE_MODE = 0, CAMERA_LOOK_AT_MODE = 1 };

struct camera {
    unsigned char mode;    // 1 look-at, 0 angle mode
    float position[3];
    float target[3];       // look-at mode only
    float roll;            // degrees about Z, applied first; skipped when 0
    float pitch;           // degrees about X
    float yaw;             // degrees about Y
    float twist;           // degrees about Z, between pitch and yaw
    float back_vector[3];  // world direction out of the screen (last view)
    float right_vector[3]; // world direction of screen right (last view)
    float fovy;            // degrees
    float aspect;
    float near_clip;       // 0.1 after creation
    float far_clip;        // 100.0 after creation
};

// The camera the camera overlay prints and some effects draw around; null
// until a section stores its camera here.
extern camera* current_camera;
