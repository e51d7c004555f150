#pragma once
// The movie drivers the engine brings: ".BIK", ".SMK" and ".MKV", all over
// FFmpeg, so each plays whatever container its file holds.

// PIM_OK, or the registry's error.
int RegisterDefaultMovieDrivers();
