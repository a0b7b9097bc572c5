# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The version that packages and --version carry: the release, then the commit's date and time
# (UTC) and hash, so every rebuilt package of a later commit is newer to dpkg. Without git, the
# plain release. The window titles keep the designed "v1.0".
find_package(Git QUIET)
set(PLINKBOX_FULL_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0)
if(GIT_FOUND)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1
      --format=%cd.%h%n%cD --date=format-local:%Y%m%d.%H%M%S
    OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND commit)
    # Two lines: the version's suffix, then the commit's date for the package's changelog.
    string(REPLACE "\n" ";" commit "${commit}")
    list(GET commit 0 suffix)
    list(GET commit 1 PLINKBOX_COMMIT_DATE)
    string(APPEND PLINKBOX_FULL_VERSION "+git${suffix}")
    # A new commit or checkout configures again.
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} rev-parse --absolute-git-dir
      OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(EXISTS ${git_dir}/logs/HEAD)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/logs/HEAD)
    endif()
  endif()
endif()
