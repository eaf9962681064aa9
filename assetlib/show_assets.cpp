// The default show's camera flights. Each is an orbit whose radius and height
// change linearly from the first key to the last, so a flight spirals toward
// or away from what it looks at.
#include "assetlib/show_assets.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "assetlib/asset_io.h"
#include "assetlib/generators.h"

std::string orbit_flight_text(const orbit_flight& f) {
    std::string text;
    for (int k = 0; k < f.keys; ++k) {
        float s = f.keys > 1 ? static_cast<float>(k) / (f.keys - 1) : 0.0f;
        float angle = f.start_angle + s * f.turns * 6.2831853f;
        float radius = f.radius[0] + (f.radius[1] - f.radius[0]) * s;
        float height = f.height[0] + (f.height[1] - f.height[0]) * s;
        char line[200];
        std::snprintf(line, sizeof line, "{%.4f,%.4f,%.4f,0,0,0,%.4f,%.4f,%.4f}\n",
                      f.target[0] + radius * std::sin(angle), f.target[1] + height,
                      f.target[2] + radius * std::cos(angle), f.target[0], f.target[1], f.target[2]);
        text += line;
    }
    return text;
}

static void write_flight(const std::string& path, const orbit_flight& f) {
    std::string text = orbit_flight_text(f);
    asset_write(path, std::vector<unsigned char>(text.begin(), text.end()));
}

void generate_show_assets(const std::string& data_dir) {
    const std::string dir = data_dir + "/splines/show_";
    // The opening: a slow half turn, drifting in toward the title.
    write_flight(dir + "intro.txt", {9, {7.0f, 5.0f}, {1.0f, 0.4f}, 0.16f, -0.5f, {0, 0, 0}});
    // Around the stacked models: one turn, sinking from above.
    write_flight(dir + "models.txt", {13, {3.6f, 2.8f}, {2.0f, 0.4f}, 1.0f, 0.0f, {0, 0, 0}});
    // Around the mirror model: a close orbit rising slowly.
    write_flight(dir + "mirror.txt", {13, {3.2f, 3.6f}, {-0.6f, 1.2f}, -0.75f, 0.8f, {0, 0, 0}});
    // Through the trail and the picture: a wide arc pulling back.
    write_flight(dir + "trail.txt", {9, {4.0f, 7.0f}, {0.5f, 1.5f}, 0.35f, -0.3f, {0, 0, 0}});
}
