# The spiral: its geometry, its rasteriser and the 15 frames built from them.
list(APPEND CORE_SOURCES render/spiral/SpiralGeometry.cpp render/spiral/SpiralRaster.cpp)
set(SPIRAL_WIN_SOURCES render/spiral/SpiralFrames.cpp)
