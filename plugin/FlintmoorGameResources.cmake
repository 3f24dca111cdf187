# flintmoor_game_resources(<module>
#     PICTURES <picture.txt>... [PALETTE <palette.txt>...]
#     [SOUNDS <sound.txt>...] [ICON <icon.txt>] [DESTINATION <folder>])
#
# Builds a module's resource folder, games/<module>/ beside the module's
# file, from sources a person can read and review:
#   - <module>.dat, an Allegro datafile holding the PICTURES, then the
#     SOUNDS, in the order given (a game reads its objects by position).
#     A picture is drawn as text (see the kit's pixelart program: lines
#     "colour C R G B", then one character a pixel, '.' transparent), read
#     after the PALETTE files, which it may share with other pictures; it
#     is stored at 32 bits per pixel, which load_datafile converts to the
#     host's colour depth. A sound is a few synthesiser parameters (see the
#     kit's synth program), made into 16-bit mono samples.
#   - icon.bmp, drawn from ICON after the palette: what a module's GetIcon
#     names for hosts to show in their lists.
# <module> is the target's file name without its extension. The target
# <module>-resources builds them, and the module depends on it. The BMP and
# WAV files in between are kept in parts/ of the calling folder's build
# folder (one game a folder). DESTINATION installs games/<module>/ there,
# the folder the module itself is installed to.
#
# A cross build can't run the kit's programs: it copies the finished files
# from the folder named by the cache variable <MODULE>_RESOURCES_FROM (the
# module's name in capitals), the games/<module> folder of a build for the
# machine that builds, so every build has the same bytes.
function(flintmoor_game_resources module)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ICON;DESTINATION" "PICTURES;PALETTE;SOUNDS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_PICTURES AND NOT arg_SOUNDS)
    message(FATAL_ERROR "flintmoor_game_resources(${module}): give PICTURES or SOUNDS, "
      "and only the arguments it takes (not: ${arg_UNPARSED_ARGUMENTS})")
  endif()
  get_target_property(name ${module} OUTPUT_NAME)
  if(NOT name)
    set(name ${module})
  endif()
  get_target_property(beside ${module} LIBRARY_OUTPUT_DIRECTORY)
  if(NOT beside)
    get_target_property(beside ${module} BINARY_DIR)
  endif()
  set(out ${beside}/games/${name})
  set(files ${out}/${name}.dat)
  if(arg_ICON)
    list(APPEND files ${out}/icon.bmp)
  endif()
  string(TOUPPER "${name}_RESOURCES_FROM" from_variable)
  set(${from_variable} "" CACHE PATH
    "games/${name} folder of a native build, for a cross build to take ${name}'s resources from")
  set(from ${${from_variable}})

  if(from)
    foreach(file IN LISTS files)
      get_filename_component(file_name ${file} NAME)
      add_custom_command(OUTPUT ${file}
        COMMAND ${CMAKE_COMMAND} -E copy ${from}/${file_name} ${file}
        DEPENDS ${from}/${file_name}
        COMMENT "Taking ${file_name} from ${from}")
    endforeach()
  elseif(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "a cross build can't run the programs that make ${name}'s resources: "
      "set ${from_variable} to the games/${name} folder of a build for this machine")
  else()
    if(NOT TARGET Flintmoor::pixelart OR NOT TARGET Flintmoor::synth)
      message(FATAL_ERROR "flintmoor_game_resources: this kit has no pixelart and synth "
        "(a kit built for another machine): use one built for this machine")
    endif()
    find_program(FLINTMOOR_DAT dat DOC "Allegro's datafile tool (in Allegro 4's development files)")
    if(NOT FLINTMOOR_DAT)
      message(FATAL_ERROR "flintmoor_game_resources: Allegro's dat program is missing "
        "(Debian: apt-get install liballegro4-dev)")
    endif()
    set(parts ${CMAKE_CURRENT_BINARY_DIR}/parts)
    file(MAKE_DIRECTORY ${parts} ${out})
    set(palette)
    foreach(file IN LISTS arg_PALETTE)
      get_filename_component(file ${file} ABSOLUTE)
      list(APPEND palette ${file})
    endforeach()

    # Each source becomes a part named after it: art/mole.txt, mole.bmp.
    set(bitmaps)
    set(samples)
    foreach(kind IN ITEMS PICTURES SOUNDS ICON)
      foreach(source IN LISTS arg_${kind})
        get_filename_component(source ${source} ABSOLUTE)
        get_filename_component(part ${source} NAME_WE)
        if(kind STREQUAL SOUNDS)
          add_custom_command(OUTPUT ${parts}/${part}.wav
            COMMAND Flintmoor::synth ${source} ${parts}/${part}.wav
            DEPENDS Flintmoor::synth ${source}
            COMMENT "Synthesising ${part}.wav")
          list(APPEND samples ${part}.wav)
        else()
          add_custom_command(OUTPUT ${parts}/${part}.bmp
            COMMAND Flintmoor::pixelart ${palette} ${source} ${parts}/${part}.bmp
            DEPENDS Flintmoor::pixelart ${palette} ${source}
            COMMENT "Drawing ${part}.bmp")
          if(kind STREQUAL PICTURES)
            list(APPEND bitmaps ${part}.bmp)
          endif()
        endif()
      endforeach()
    endforeach()
    if(arg_ICON)
      get_filename_component(icon ${arg_ICON} NAME_WE)
      add_custom_command(OUTPUT ${out}/icon.bmp
        COMMAND ${CMAKE_COMMAND} -E copy ${parts}/${icon}.bmp ${out}/icon.bmp
        DEPENDS ${parts}/${icon}.bmp)
    endif()

    # -n0 keeps the order of adding, -s1 strips dates and source paths so the
    # bytes are the same at every build, -bpp 32 keeps the colours exact until
    # load_datafile converts them to the host's depth, mask colour included.
    # Types are named: dat would take a .bmp for a font.
    set(pack)
    if(bitmaps)
      list(APPEND pack COMMAND ${FLINTMOOR_DAT} -a -n0 -s1 -c0 -bpp 32 -transparency -t BMP
        ${out}/${name}.dat ${bitmaps})
    endif()
    if(samples)
      list(APPEND pack COMMAND ${FLINTMOOR_DAT} -a -n0 -s1 -c0 -t SAMP ${out}/${name}.dat
        ${samples})
    endif()
    list(TRANSFORM bitmaps PREPEND ${parts}/ OUTPUT_VARIABLE bitmap_files)
    list(TRANSFORM samples PREPEND ${parts}/ OUTPUT_VARIABLE sample_files)
    add_custom_command(OUTPUT ${out}/${name}.dat
      COMMAND ${CMAKE_COMMAND} -E rm -f ${out}/${name}.dat
      ${pack}
      WORKING_DIRECTORY ${parts}
      DEPENDS ${bitmap_files} ${sample_files}
      COMMENT "Packing ${name}.dat")
  endif()

  add_custom_target(${name}-resources ALL DEPENDS ${files})
  add_dependencies(${module} ${name}-resources)
  if(arg_DESTINATION)
    install(FILES ${files} DESTINATION ${arg_DESTINATION}/games/${name})
  endif()
endfunction()
