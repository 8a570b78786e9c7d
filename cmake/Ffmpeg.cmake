# tevrako_link_ffmpeg(<target>)
# The program runs its encoder as tool/ffmpeg beside its executable; this
# puts a link to the system ffmpeg there for any executable target.
find_program(TEVRAKO_FFMPEG ffmpeg REQUIRED)

function(tevrako_link_ffmpeg target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/tool
        COMMAND ${CMAKE_COMMAND} -E create_symlink ${TEVRAKO_FFMPEG}
                $<TARGET_FILE_DIR:${target}>/tool/ffmpeg
        VERBATIM)
endfunction()
