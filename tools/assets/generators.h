// The asset generator's parts. Each writes its files under the data folder
// it is given; all output is deterministic (same bytes every run).
#pragma once

#include <string>

void generate_loading_images(const std::string& data_dir);
void generate_soundtrack(const std::string& data_dir);
