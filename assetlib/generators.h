// The asset generator's parts. Each writes its files under the data folder
// it is given; all output is deterministic (same bytes every run).
#pragma once

#include <string>
#include <vector>

void generate_loading_images(const std::string& data_dir);
void generate_soundtrack(const std::string& data_dir);
// A beat track of `seconds` at `bpm`, as MP3: pads from the start, the kick
// from the second bar, bass and hats from the third; faded in and out.
std::vector<unsigned char> soundtrack_beat_mp3(int bpm, float seconds);
void generate_font_image(const std::string& data_dir);
void generate_models(const std::string& data_dir);
void generate_fx_pictures(const std::string& data_dir);
void generate_fx3d_assets(const std::string& data_dir);
void generate_show_assets(const std::string& data_dir);
void generate_captions_flares(const std::string& data_dir);
void generate_scene_pictures(const std::string& data_dir);
void generate_cubes_column_spikes(const std::string& data_dir);
void generate_swept_tubes(const std::string& data_dir);
void generate_gears_cairn(const std::string& data_dir);
