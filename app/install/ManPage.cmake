# Writes the manual page of tarvik2-cli from its own --help and from the --help of each of its
# commands: cmake -DCLI=path/to/tarvik2-cli -DOUT=tarvik2-cli.1 -DVERSION=2.0 -P ManPage.cmake
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE main RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed")
endif()

# Escapes text for roff: backslashes, and a leading dot or quote.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

roff_escape("${main}" main_text)
set(page ".TH TARVIK2-CLI 1 \"\" \"Tarvik2 ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\ntarvik2-cli \\- genotype files, population statistics, assignment "
                   "and first-generation migrants from the command line\n")
string(APPEND page ".SH SYNOPSIS\n.B tarvik2-cli\n.I COMMAND\n[\\fIOPTIONS\\fR]\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${main_text}\n.fi\n")

# The commands are the words listed under "SUBCOMMANDS:" in the main help.
string(REGEX MATCH "Subcommands:\n(.*)" commands_block "${main}")
string(REGEX MATCHALL "\n  ([a-z]+)" commands "\n${CMAKE_MATCH_1}")
string(APPEND page ".SH COMMANDS\n")
foreach(entry ${commands})
  string(STRIP "${entry}" command)
  execute_process(COMMAND ${CLI} ${command} --help OUTPUT_VARIABLE help)
  roff_escape("${help}" help_text)
  string(APPEND page ".SS ${command}\n.nf\n${help_text}\n.fi\n")
endforeach()
string(APPEND page ".SH FILES\n.TP\n.I ~/.tarvik.ini\nThe language last chosen in the window, "
                   "the default of --lang.\n")
string(APPEND page ".SH SEE ALSO\nThe help pages installed with the program, under "
                   "tarvik2/doc/Help/index.htm (English) and tarvik2/doc/Aide/index.htm "
                   "(French) in the installation prefix.\n")
file(WRITE ${OUT} "${page}")
