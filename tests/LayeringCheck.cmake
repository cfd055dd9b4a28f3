# Fails when a source file includes a header from a layer above its own.
# Run as: cmake -DSOURCE_DIR=<repo>/src -P LayeringCheck.cmake
#
# Each layer may include itself and the layers listed for it, which are all
# below it. The program model lives in src/synth beside the synth but sits
# below the engine; the core interface lives in src/host beside the VST
# adapter but sits below the synth.

cmake_minimum_required(VERSION 3.20)

set(program_files CMidiLearn CPatchWriter FactoryBank ParameterTable PatchSections SynthProgram)
set(plugin_files CAutomationHost CPluginBase)

set(below_io "")
set(below_image io)
set(below_program io)
set(below_engine io program)
set(below_effects io program engine)
set(below_plugin io)
set(below_synth io program engine effects plugin)
set(below_gui/platform io)
set(below_gui/draw io image gui/platform)
set(below_gui/core io image gui/platform gui/draw)
set(below_gui/widgets io image gui/platform gui/draw gui/core)
set(below_gui/dialogs io image gui/platform gui/draw gui/core gui/widgets)
set(toolkit gui/platform gui/draw gui/core gui/widgets gui/dialogs)
set(below_editor io image program engine effects plugin synth ${toolkit})
set(below_adapter io image program engine effects plugin synth ${toolkit} editor)
# The LV2 adapter sits beside the VST one and borrows its editor hosting.
set(below_lv2 io image program engine effects plugin synth ${toolkit} editor adapter)

# The layer of a path relative to src/, like "synth/CSynth.h"; the toolkit's
# layers are its subfolders, like "gui/core".
function(layer_of path result)
  string(REGEX MATCH "^gui/[^/]+|^[^/]+" folder "${path}")
  get_filename_component(stem "${path}" NAME_WE)
  if(folder STREQUAL "synth" AND stem IN_LIST program_files)
    set(layer program)
  elseif(folder STREQUAL "host")
    if(stem IN_LIST plugin_files)
      set(layer plugin)
    else()
      set(layer adapter)
    endif()
  else()
    set(layer ${folder})
  endif()
  set(${result} ${layer} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(violations 0)
foreach(source ${sources})
  layer_of(${source} own)
  set(allowed ${own} ${below_${own}})
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[^\"]+/[^\"]+\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    layer_of(${header} target)
    if(NOT target IN_LIST allowed)
      message(SEND_ERROR "${source} (${own}) includes ${header} (${target})")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()
list(LENGTH sources count)
message(STATUS "Layering: ${count} files checked, ${violations} upward includes")
