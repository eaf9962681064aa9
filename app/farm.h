// quillon --farm DIR --pieces N [--video FILE] [run options] [SHOW_DIR]:
// plans that render the show in N pieces on a scheduler that is already
// there, and join them into FILE (default DIR/show.mp4):
//   DIR/task.sh          one piece; its index is its first argument, or
//                        SLURM_ARRAY_TASK_ID, or JOB_COMPLETION_INDEX
//   DIR/join.sh          the join, once every piece is there
//   DIR/parallel.sh      every piece through GNU parallel (here, or on the
//                        hosts of --sshlogin), then the join
//   DIR/slurm.sh         an array job of the pieces and a join job that
//                        waits for it; waits for the join
//   DIR/kubernetes.yaml  an Indexed Job of the pieces and a join Job that
//                        waits for their manifests
// Every path in them is absolute, so they run from any folder (on other
// machines, the folders must be shared at the same paths). Pieces already
// finished from the same show and settings are kept when a plan runs again.
#pragma once

#include <string>

struct cmdline;

// Writes the plans; returns the exit status (fatal errors end the program).
int farm_run(const cmdline* options);
