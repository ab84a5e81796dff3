# Compiler and linker settings shared by the program and its tests.

# Warnings are errors everywhere; no compiler extensions.
function(shelfcloak_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference)
endfunction()

# The program's own code: no exceptions, no RTTI, narrow Win32 API only. All
# of it runs on one thread, so function-local statics need no guard (which
# would link a thread library in).
function(shelfcloak_program_flags target)
  shelfcloak_warnings(${target})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-threadsafe-statics)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE
      WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0600 WINVER=0x0600)
    target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
  endif()
  if(SHELFCLOAK_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  # Coverage for the fuzzer to steer by; the fuzz targets link its driver.
  if(SHELFCLOAK_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# A Windows executable that imports system DLLs only: the C and C++ runtimes
# and threads are linked in, and nothing depends on the build's time.
function(shelfcloak_executable_flags target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -Wl,--gc-sections -Wl,--no-insert-timestamp)
    if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
      target_link_options(${target} PRIVATE -s)
    endif()
  endif()
endfunction()
