list(APPEND CORE_SOURCES render/SpiralGeometry.cpp render/SpiralRaster.cpp render/PictureFit.cpp render/FrameTiming.cpp
     render/PictureList.cpp render/JpegInfo.cpp render/PictureScaler.cpp)
set(RENDER_WIN_SOURCES render/RenderThread.cpp render/SpiralFrames.cpp render/PictureSource.cpp
    render/PictureFile.cpp render/LoadingScreen.cpp)
# The header-only resampler from Debian's libstb-dev. Only its own folder is added: all of /usr/include would
# put the host's C library headers in front of mingw's.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/PictureScaler.cpp PROPERTIES COMPILE_OPTIONS
                            "-isystem;/usr/include/stb")
