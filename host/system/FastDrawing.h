// Drawing at full speed where the system's default would be slow. Each
// system answers in its own folder.
//
// Under Wine, DirectDraw (Allegro's windowed driver on Windows) draws
// through OpenGL unless told otherwise. Where OpenGL is drawn in software,
// as on a display without a graphics card, a frame then costs 13 to 20 ms
// instead of about 1.5 ms, and the validator's checks see memory grow in
// correct modules. Wine's GDI renderer draws the same pixels at full speed,
// but Wine reads that choice only as a program starts.
#ifndef FLINTMOOR_HOST_FASTDRAWING_H
#define FLINTMOOR_HOST_FASTDRAWING_H

#include <optional>

// Under Wine, where the user chose no renderer (WINE_D3D_CONFIG, or
// Direct3D's renderer in Wine's registry), runs gamehost again with the
// same arguments and standard handles and Wine's GDI renderer chosen, and
// answers that run's exit status. Answers nothing where gamehost goes on
// itself: on Linux, on Windows, under Wine with a renderer chosen.
std::optional<int> RunAgainWithFastDrawing();

#endif
