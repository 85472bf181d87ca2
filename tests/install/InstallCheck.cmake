# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DDATADIR=share -P InstallCheck.cmake
# A prefix nobody configured, and no hint to the build tree: what runs must be what was
# installed.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()

foreach(file
    bin/dialcrest
    ${DATADIR}/applications/org.dialcrest.Dialcrest.desktop
    ${DATADIR}/metainfo/org.dialcrest.Dialcrest.metainfo.xml
    ${DATADIR}/icons/hicolor/256x256/apps/org.dialcrest.Dialcrest.png
    ${DATADIR}/icons/hicolor/48x48/apps/org.dialcrest.Dialcrest.png)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE plugin ${prefix}/libSMSUIPlugin.so)
if(NOT plugin)
  message(FATAL_ERROR "the plug-in is not installed")
endif()
# What is the same on every architecture sits under share/, the code under lib/.
foreach(file
    ${DATADIR}/dialcrest/plugins/SMSUIPlugin/SMSUIPluginConfig.xml
    ${DATADIR}/dialcrest/plugins/SMSUIPlugin/SMSVoice.wav
    ${DATADIR}/dialcrest/translations/dialcrest_ar.qm)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE misplaced ${prefix}/lib*/*.xml ${prefix}/lib*/*.png ${prefix}/lib*/*.qm ${prefix}/lib*/*.wav)
# The private libraries are for this program only: no headers, no unversioned links.
file(GLOB_RECURSE private_dev ${prefix}/include/* ${prefix}/lib*/libcore.so ${prefix}/lib*/libsdk.so)
if(misplaced OR private_dev)
  message(FATAL_ERROR "installed where it does not belong: ${misplaced} ${private_dev}")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
                          ${prefix}/${DATADIR}/metainfo/org.dialcrest.Dialcrest.metainfo.xml
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "AppStream metadata does not validate:\n${out}")
  endif()
endif()
find_program(DESKTOP_VALIDATE desktop-file-validate)
if(DESKTOP_VALIDATE)
  execute_process(COMMAND ${DESKTOP_VALIDATE} ${prefix}/${DATADIR}/applications/org.dialcrest.Dialcrest.desktop
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop entry does not validate:\n${out}")
  endif()
endif()

set(shot ${WORK_DIR}/shot.png)
set(ENV{DIALCREST_HOME} ${WORK_DIR}/home)
unset(ENV{LD_LIBRARY_PATH})
unset(ENV{DIALCREST_PLUGIN_ROOT})
execute_process(COMMAND ${prefix}/bin/dialcrest --language ar --screenshot ${shot} --screenshot-delay 500
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed dialcrest failed (${rc}):\n${out}")
endif()
# A PNG of a real window, not an empty file: signature and a size of some substance.
file(READ ${shot} signature LIMIT 8 HEX)
file(SIZE ${shot} size)
if(NOT signature STREQUAL "89504e470d0a1a0a" OR size LESS 10000)
  message(FATAL_ERROR "the installed dialcrest wrote no screenshot (${size} bytes)")
endif()
message(STATUS "installed application ran from ${prefix}")
