# Shared build settings: warnings as errors, optional sanitizers.

option(ZEPHLET_SANITIZE "Build with the address and undefined-behaviour sanitizers" OFF)
option(ZEPHLET_TSAN "Build with the thread sanitizer" OFF)

set(ZEPHLET_WARNINGS -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
# At -O3, g++ 12 reports out-of-bounds and overlapping copies inside the
# standard library's own containers where there are none; -O2 builds are as
# fast for this code and keep every warning meaningful.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)
endif()

if(ZEPHLET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZEPHLET_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Applies the project's warnings to a target.
function(zephlet_target target)
  target_compile_options(${target} PRIVATE ${ZEPHLET_WARNINGS})
  target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()

# Adds a subdirectory when it has a CMakeLists.txt (layers arrive one issue at a time).
function(zephlet_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()
