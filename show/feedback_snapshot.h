// Snapshots of fed-back pictures on the fixed step, when the program lends
// the runtime a cache for them (show_host's feedback_cache_bytes): after
// every frame drawn, the textures of each running section whose type
// declares them (section_type's history_textures) are read back into the
// cache; an opening that finds them there draws from a frame just before
// the one asked for and puts them back, instead of drawing the frames that
// built them.
//
// A snapshot is kept with the first frame it is exact for: after an opening
// that began with empty pictures, a section's pictures are its run's only
// once its history has passed (see section_type's history).
#pragma once

// The latest frame before `target`, after `lowest`, from which an opening
// can reach `target` exactly by putting snapshots back; -1 when there is
// none, or no cache.
int feedback_snapshot_find(int target, int lowest);

// An opening draws its first frame `first` (and puts snapshots back after
// it, if it found them). Until the next opening, frames drawn are kept as
// what this opening makes of them.
void feedback_snapshot_opened(int first);

// After frame `frame` of the opening: puts back the snapshots of the
// sections running, for frame `target`. 0 when one of them no longer fits
// its texture (then the cache is emptied and the frame is not exact).
int feedback_snapshot_restore(int frame, int target);

// 1 when the running opening put snapshots back.
int feedback_snapshot_restored();

// After a frame is drawn: the snapshots of the running sections.
void feedback_snapshot_take();

// What the cache holds no longer matches the show (its files or tracks
// changed): emptied, and nothing more is kept until the next opening.
void feedback_snapshot_forget();
