// Cameras: a small record a scene fills by hand, from a spline or through the
// free camera, turned into the projection and modelview matrices once per
// frame. Applying the view also reads back the camera's right and back
// directions in world space, which the free camera moves along.
//
// The matrix arithmetic is kept apart from GL: camera_view_matrix computes
// the modelview matrix that camera_apply_view's GL calls build, so the maths
// can be checked without a window.
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

// A zero-filled camera in `mode` with near 0.1 and far 100. Kept for the
// program's life (out of memory is fatal).
camera* camera_create(int mode);
void camera_set_position(camera* c, float x, float y, float z);
void camera_set_target(camera* c, float x, float y, float z);
void camera_set_roll(camera* c, float degrees);
void camera_set_angles(camera* c, float pitch, float yaw, float twist);
void camera_set_perspective(camera* c, float fovy, float aspect);

// Loads gluPerspective(fovy, aspect, near, far); leaves GL_PROJECTION current.
void camera_apply_projection(const camera* c);
// Loads the view (eye-space rotations, then the look-at or the translation),
// reads the matrix back into right_vector and back_vector; leaves
// GL_MODELVIEW current.
void camera_apply_view(camera* c);

// ---------------------------------------------------------------------------
// Matrix arithmetic (column-major 4x4, element [col * 4 + row], as GL keeps
// its matrices), in single precision like the GL calls it mirrors.
// ---------------------------------------------------------------------------

void mat4_identity(float m[16]);
// m = m * b (the way glMultMatrix composes).
void mat4_multiply(float m[16], const float b[16]);
// m = m * rotation by `degrees` about the axis (x, y, z), as glRotatef.
void mat4_rotate(float m[16], float degrees, float x, float y, float z);
// m = m * translation, as glTranslatef.
void mat4_translate(float m[16], float x, float y, float z);
// m = m * look-at from eye to centre with the given up, as gluLookAt.
void mat4_look_at(float m[16], const float eye[3], const float centre[3], const float up[3]);

// The modelview matrix camera_apply_view loads for this camera.
void camera_view_matrix(const camera* c, float m[16]);
// Stores right = (m0, m4, m8) and back = (m2, m6, m10).
void camera_store_vectors(camera* c, const float m[16]);
