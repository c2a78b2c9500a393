# Feeds make_images faulty picture texts: each must fail, name the fault and
# its line, and leave no picture behind. Run by ctest.
file(MAKE_DIRECTORY ${OUT})
set(failures 0)

function(expect_rejected name extension expected text)
    set(input ${OUT}/${name}.txt)
    set(output ${OUT}/${name}.${extension})
    file(WRITE ${input} "${text}")
    file(REMOVE ${output})
    execute_process(COMMAND ${TOOL} ${input} ${output}
                    RESULT_VARIABLE rc ERROR_VARIABLE stderr OUTPUT_QUIET)
    if(rc EQUAL 0 OR NOT stderr MATCHES "${expected}" OR EXISTS ${output})
        message(SEND_ERROR "${name}: exit ${rc}, said '${stderr}', expected '${expected}'")
        math(EXPR failures "${failures} + 1")
        set(failures ${failures} PARENT_SCOPE)
    endif()
endfunction()

set(keys "size 2 2\nkey . black\nkey w white\npixels\n")

expect_rejected(short_row ico "line 6: row has 1 characters, expected 2" "${keys}.w\nw\n")
expect_rejected(long_row bmp "line 5: row has 3 characters, expected 2" "${keys}.w.\nw.\n")
expect_rejected(unkeyed_character ico "line 6: character without a key: 'x'" "${keys}.w\nxw\n")
expect_rejected(missing_row ico "line 5: picture ends after 1 of 2 rows" "${keys}.w")
expect_rejected(trailing_text ico "line 8: text after the last pixel row" "${keys}.w\nw.\n\nww\n")
expect_rejected(key_twice ico "line 3: key '.' given twice" "size 1 1\nkey . black\nkey . white\npixels\n.\n")
expect_rejected(unknown_colour ico "line 2: unknown colour: orange" "size 1 1\nkey . orange\npixels\n.\n")
expect_rejected(zero_size ico "line 1: size must be a whole number from 1 to 256: 0" "size 0 4\npixels\n")
expect_rejected(huge_size ico "line 1: size must be a whole number from 1 to 256: 257" "size 257 1\npixels\n")
expect_rejected(no_pixels ico "no 'pixels' line" "size 1 1\nkey . black\n")
expect_rejected(mask_in_bitmap bmp "'transparent' is for icons only" "size 1 1\nkey . transparent\npixels\n.\n")
expect_rejected(other_format png "output must end in .ico or .bmp" "size 1 1\nkey . black\npixels\n.\n")

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} faulty texts were not refused as expected")
endif()
