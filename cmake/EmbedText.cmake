# Turns a checked-in text file into a header holding it as one string literal, so that the
# tables and the starter rules are part of the program: the build reads only this repository.
#   cmake -DINPUT=<file> -DOUTPUT=<header> -DNAME=<identifier> -P EmbedText.cmake
file(READ "${INPUT}" content)
string(FIND "${content}" ")embedded\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the literal's closing sequence")
endif()
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.new" "// Made by cmake/EmbedText.cmake from data/${source}: edit that file, not this one.\n#pragma once\n\ninline constexpr char ${NAME}[] = R\"embedded(${content})embedded\";\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
