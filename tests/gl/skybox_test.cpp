// Skyboxes drawn on Mesa from one-colour faces: each face lands on its own
// side of the camera, and a missing face stops the load naming it after the
// faces before it were read.
#include "resources/camera.h"
#include "resources/skybox.h"
#include "resources/texture.h"
#include "tests/scene_window.h"

namespace {

TEST_F(scene_window, skybox_faces_land_on_their_sides) {
    open();
    const struct {
        const char* suffix;
        rgb colour;
    } faces[] = {{"rt", {255, 0, 0}}, {"lf", {0, 255, 0}},   {"bk", {0, 0, 255}},
                 {"ft", {255, 255, 0}}, {"up", {0, 255, 255}}, {"dn", {255, 0, 255}}};
    const std::string folder = std::string(90, 's') + "/";  // a prefix far longer than 64 bytes
    for (const auto& f : faces)
        write_plain(folder + f.suffix + ".tga", f.colour.r, f.colour.g, f.colour.b);
    skybox* box = skybox_create(dir.file(folder).c_str(), SKYBOX_TGA, 1);
    ASSERT_NE(box, nullptr);
    skybox_upload(box);
    const struct {
        float target[3], pitch;
        int face;
    } views[] = {
        {{0, 0, -1}, 0, 1},    // lf ahead of a camera looking down -Z
        {{0, 0, 1}, 0, 0},     // rt behind it
        {{-1, 0, 0}, 0, 2},    // bk at -X
        {{1, 0, 0}, 0, 3},     // ft at +X
        {{0, 0, -1}, 90, 4},   // up
        {{0, 0, -1}, -90, 5},  // dn
    };
    for (const auto& v : views) {
        SCOPED_TRACE(faces[v.face].suffix);
        camera* c = camera_create(CAMERA_LOOK_AT_MODE);
        camera_set_target(c, v.target[0], v.target[1], v.target[2]);
        camera_set_angles(c, v.pitch, 0, 0);
        camera_set_perspective(c, 90, 1);
        clear_to(0, 0, 0);
        camera_apply_projection(c);
        camera_apply_view(c);
        glEnable(GL_TEXTURE_2D);
        skybox_draw(box, c);
        const rgb want = faces[v.face].colour;
        EXPECT_RGB_NEAR(pixel_at(gl_rttWidth / 2, gl_rttHeight / 2), want.r, want.g, want.b, 2);
        EXPECT_RGB_NEAR(pixel_at(4, 4), want.r, want.g, want.b, 2);
        free(c);
    }
}

TEST_F(scene_window, skybox_missing_face_stops_after_the_faces_before_it) {
    for (const char* suffix : {"rt", "lf", "bk", "ft", "dn"})
        write_plain(std::string("sky/") + suffix + ".tga", 9, 9, 9);
    int before = texture_count;
    const std::string prefix = dir.file("sky/");
    std::string message = fatal_message([&] { skybox_create(prefix.c_str(), SKYBOX_TGA, 1); });
    EXPECT_EQ(message.find("Error loading texture " + prefix + "up.tga"), 0u) << message;
    EXPECT_GE(texture_count - before, 4);  // rt, lf, bk and ft were read first
    for (int i = before; i < before + 4; i++)
        EXPECT_NE(std::string(texture_table[i]->name).find("sky/"), std::string::npos);
}

}  // namespace
