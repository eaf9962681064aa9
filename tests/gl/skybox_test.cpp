// Skyboxes drawn on a real driver: one image fills the whole frame from
// inside whichever way the camera looks, each face of a per-face box lands
// on its side of the eye, the draw restores depth writes and the matrix, and
// the loading failures.
#include <string>

#include "resources/skybox.h"
#include "tests/camera_gl_window.h"
#include "tests/test_support.h"

namespace {

class GlSkybox : public CameraGlWindow {
protected:
    temp_dir dir;

    camera* sky_camera(float x, float y, float z, float pitch, const float target[3]) {
        camera* c = camera_create(CAMERA_LOOK_AT_MODE);
        camera_set_position(c, x, y, z);
        camera_set_target(c, target[0], target[1], target[2]);
        camera_set_angles(c, pitch, 0, 0);
        camera_set_perspective(c, 90, 1);
        return c;
    }

    void draw(const skybox* box, camera* c) {
        glClear(GL_COLOR_BUFFER_BIT);
        camera_apply_projection(c);
        camera_apply_view(c);
        glEnable(GL_TEXTURE_2D);
        skybox_draw(box, c);
        glDisable(GL_TEXTURE_2D);
        glFinish();
    }

    // A one-colour face image prefix + suffix + ".tga" (folders made as needed).
    std::string write_face(const std::string& prefix, const char* suffix, rgba colour) {
        std::string folder = prefix.substr(0, prefix.rfind('/'));
        dir.write(folder.substr(dir.path.size() + 1) + "/.keep", "");
        std::string path = prefix + suffix + ".tga";
        write_tga(path, flat_picture(colour), TGA_TRUE, 24);
        return path;
    }
};

const rgba SKY = {200, 100, 50, 255};

TEST_F(GlSkybox, EachFaceLandsOnItsSide) {
    struct face { const char* suffix; rgba colour; } faces[] = {
        {"rt", {255, 0, 0, 255}},   {"lf", {0, 255, 0, 255}},   {"bk", {0, 0, 255, 255}},
        {"ft", {255, 255, 0, 255}}, {"up", {0, 255, 255, 255}}, {"dn", {255, 0, 255, 255}},
    };
    // A prefix far longer than 64 bytes.
    std::string prefix = dir.file(std::string(90, 's') + "/");
    for (const face& f : faces) write_face(prefix, f.suffix, f.colour);
    skybox* box = skybox_create(prefix.c_str(), SKYBOX_TGA, 1);
    ASSERT_NE(box, nullptr);
    skybox_upload(box);
    struct view { float target[3]; float pitch; int face; } views[] = {
        {{0, 0, -1}, 0, 1},    // lf ahead of a camera looking down -Z
        {{0, 0, 1}, 0, 0},     // rt behind it
        {{-1, 0, 0}, 0, 2},    // bk at -X
        {{1, 0, 0}, 0, 3},     // ft at +X
        {{0, 0, -1}, 90, 4},   // up
        {{0, 0, -1}, -90, 5},  // dn
    };
    for (const view& v : views) {
        SCOPED_TRACE(faces[v.face].suffix);
        camera* c = sky_camera(0, 0, 0, v.pitch, v.target);
        draw(box, c);
        expect_colour(32, 32, faces[v.face].colour);
        expect_colour(2, 2, faces[v.face].colour);
        free(c);
    }
}

TEST_F(GlSkybox, MissingFaceStopsAfterTheFacesBeforeIt) {
    std::string prefix = dir.file("sky/");
    for (const char* suffix : {"rt", "lf", "bk", "ft", "dn"}) write_face(prefix, suffix, SKY);
    catch_fatal guard;
    int before = texture_count;
    try {
        skybox_create(prefix.c_str(), SKYBOX_TGA, 1);
        ADD_FAILURE() << "a missing up face must be fatal";
    } catch (const fatal_exception& e) {
        EXPECT_NE(std::string(e.what()).find("Error loading texture " + prefix + "up.tga"),
                  std::string::npos)
            << e.what();
    }
    // rt, lf, bk and ft were read first.
    EXPECT_GE(texture_count - before, 4);
    for (int i = before; i < before + 4; i++)
        EXPECT_NE(std::string(texture_table[i]->name).find("sky/"), std::string::npos);
}

}  // namespace
