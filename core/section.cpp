// The script's section list and the section the runtime is calling into.
#include "core/section.h"

section* section_list = nullptr;
section* current_section = nullptr;
