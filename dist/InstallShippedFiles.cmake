# Installs the shipped files of svd/ and analyzer/ without losing what the
# user changed in them. The folder keeps a record of what each install put
# there (.shipped-files: "SHA256 relative/path" per line). A file that still
# holds what the previous install put there, or that is missing, gets the new
# version; a file that differs from it (or that no record vouches for) stays,
# and the new version goes beside it as NAME.new.
#
# Expects: source (the checkout's top), home (the installation folder).

set(record "${home}/.shipped-files")
set(recorded_paths "")
set(recorded_hashes "")
if(EXISTS "${record}")
  file(STRINGS "${record}" lines)
  foreach(line IN LISTS lines)
    if(line MATCHES "^([0-9a-f]+) (.+)$")
      list(APPEND recorded_hashes "${CMAKE_MATCH_1}")
      list(APPEND recorded_paths "${CMAKE_MATCH_2}")
    endif()
  endforeach()
endif()

file(GLOB_RECURSE svd_files RELATIVE "${source}" "${source}/svd/*.svd")
file(GLOB_RECURSE analyzer_files RELATIVE "${source}" "${source}/analyzer/*")
list(FILTER analyzer_files EXCLUDE REGEX "/__pycache__/")
set(shipped ${svd_files} ${analyzer_files})
list(SORT shipped)

set(kept "")
set(new_record "")
foreach(relative IN LISTS shipped)
  set(from "${source}/${relative}")
  set(to "${home}/${relative}")
  get_filename_component(folder "${to}" DIRECTORY)
  file(SHA256 "${from}" new_hash)
  string(APPEND new_record "${new_hash} ${relative}\n")
  if(EXISTS "${to}")
    file(SHA256 "${to}" present_hash)
    set(previous_hash "")
    list(FIND recorded_paths "${relative}" at)
    if(at GREATER -1)
      list(GET recorded_hashes ${at} previous_hash)
    endif()
    if(NOT present_hash STREQUAL new_hash AND NOT present_hash STREQUAL previous_hash)
      # Changed by the user since the last install: theirs stays.
      file(COPY_FILE "${from}" "${to}.new")
      list(APPEND kept "${relative}")
      continue()
    endif()
  endif()
  file(INSTALL "${from}" DESTINATION "${folder}")
endforeach()
file(WRITE "${record}" "${new_record}")

if(kept)
  list(JOIN kept ", " kept_text)
  message(STATUS "Kept your changed ${kept_text}; the new versions are beside them as NAME.new")
endif()
