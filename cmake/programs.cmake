# SPDX-License-Identifier: MIT
# What the installed programs get besides being built: stripping, with the
# debug symbols kept beside them, and compressed manual pages.
include(GNUInstallDirs)

# Release builds strip the programs: a book executable carries the reader,
# and its symbols would double what a magazine weighs. The symbols stay in
# PROGRAM.debug beside the program, which names that file (debuglink) so a
# debugger finds them. Debug and sanitizer builds keep everything.
set(pagoro_strip_default OFF)
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND NOT PAGORO_SANITIZE)
  set(pagoro_strip_default ON)
endif()
option(PAGORO_STRIP "Strip the programs after linking (symbols in PROGRAM.debug)" ${pagoro_strip_default})

function(pagoro_strip target)
  if(NOT PAGORO_STRIP)
    return()
  endif()
  set(file $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_STRIP} --strip-all --remove-section=.comment --remove-section=.note ${file}
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${file}.debug ${file}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

# pagoro_man_page(PAGE SOURCE [LOCALE LL_CC] [DEPENDS ...]): installs the
# manual page SOURCE (section 1) as PAGE.1.gz, compressed as Debian wants it
# (no name, no time); with LOCALE, as the page in that language
# (man/LL_CC/man1/PAGE.1.gz).
function(pagoro_man_page page source)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "LOCALE" "DEPENDS")
  set(name ${page})
  set(folder ${CMAKE_INSTALL_MANDIR}/man1)
  if(arg_LOCALE)
    set(name ${page}.${arg_LOCALE})
    set(folder ${CMAKE_INSTALL_MANDIR}/${arg_LOCALE}/man1)
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND gzip -9 -n -c ${source} > ${out}
    DEPENDS ${source} ${arg_DEPENDS}
    COMMENT "Compressing the manual page ${name}(1)")
  string(REPLACE "." "_" target ${name})
  add_custom_target(${target}_man_page ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${folder} RENAME ${page}.1.gz)
endfunction()
