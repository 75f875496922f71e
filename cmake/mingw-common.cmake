# Shared by both mingw toolchain files. Everything is linked statically, so the programs
# need no DLL that Windows itself does not ship.
set(CMAKE_C_COMPILER ${TOVREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVREL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOVREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
