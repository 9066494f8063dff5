# Keeps the product's layers: base < win < controls < the features < app. A folder includes
# itself and lower layers only, and no feature includes another feature.
#   cmake [-DTESSEL_SOURCE_DIR=<checkout>] -P cmake/CheckLayers.cmake
# Reports every offending include as file:line and fails when there is one.
cmake_minimum_required(VERSION 3.20)

if(NOT TESSEL_SOURCE_DIR)
  get_filename_component(TESSEL_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(features filelist engine quickview update shellext)
set(rank_base 0)
set(rank_win 1)
set(rank_controls 2)
foreach(feature IN LISTS features)
  set(rank_${feature} 3)
endforeach()
set(rank_app 4)
set(folders base win controls ${features} app)

set(offences "")
set(checked 0)
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources RELATIVE "${TESSEL_SOURCE_DIR}"
       "${TESSEL_SOURCE_DIR}/${folder}/*.h" "${TESSEL_SOURCE_DIR}/${folder}/*.cpp"
       "${TESSEL_SOURCE_DIR}/${folder}/*.rc" "${TESSEL_SOURCE_DIR}/${folder}/*.rc2")
  foreach(source IN LISTS sources)
    file(READ "${TESSEL_SOURCE_DIR}/${source}" text)
    # One list element a line: characters that mean something to a CMake list go first;
    # no include path that matters here contains them.
    string(REPLACE "\\" "/" text "${text}")
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "[" "(" text "${text}")
    string(REPLACE "]" ")" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(line 0)
    foreach(code IN LISTS lines)
      math(EXPR line "${line} + 1")
      if(NOT code MATCHES "^[ \t]*#[ \t]*include[ \t]*\"(([^\"/]+)/[^\"]*)\"")
        continue()
      endif()
      set(included "${CMAKE_MATCH_1}")
      set(target "${CMAKE_MATCH_2}")
      if(NOT DEFINED rank_${target} OR target STREQUAL folder)
        continue()
      endif()
      math(EXPR checked "${checked} + 1")
      if(rank_${target} GREATER rank_${folder})
        list(APPEND offences "${source}:${line}: includes \"${included}\": ${folder} (layer ${rank_${folder}}) may not include the higher ${target} (layer ${rank_${target}})")
      elseif(rank_${target} EQUAL 3 AND rank_${folder} EQUAL 3)
        list(APPEND offences "${source}:${line}: includes \"${included}\": the feature ${folder} may not include another feature (${target})")
      endif()
    endforeach()
  endforeach()
endforeach()

list(LENGTH offences count)
if(count GREATER 0)
  # Indented lines are printed as they are, not reflowed.
  list(JOIN offences "\n  " report)
  message(FATAL_ERROR "${count} include(s) break the layers:\n  ${report}")
endif()
message(STATUS "Layers kept: ${checked} includes across folders, none upwards or between features")
