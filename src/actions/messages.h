// The program's message table: every text it shows, by its string number.
#pragma once

#include <string_view>

namespace orvix::msg {

inline constexpr std::string_view program_name = "Orvix";

inline constexpr std::string_view untitled = "(untitled)";                           // 1
inline constexpr std::string_view edit_out_of_space = "Edit control out of space!";  // 2
inline constexpr std::string_view could_not_read_file = "Could not read file!";      // 3
inline constexpr std::string_view no_unit_cell =
    "File contains no unit cell information (crystal axes)!";                                   // 4
inline constexpr std::string_view not_cartesian = "The crystal axis system is not Cartesian!";  // 5
inline constexpr std::string_view unexpected_end = "Unexpected end of data encountered!";       // 6
inline constexpr std::string_view dipolar_error =
    "Error in calculating dipolar second moments!";                                       // 7
inline constexpr std::string_view not_enough_memory = "Not enough memory!";               // 160
inline constexpr std::string_view file_too_large = "Edit control out of space!";          // 161
inline constexpr std::string_view open_could_not_read = "Could not read file!";           // 162
inline constexpr std::string_view error_creating_file = "Error creating file!";           // 163
inline constexpr std::string_view error_writing_file = "Error writing file! Disk full?";  // 164
inline constexpr std::string_view wrong_data_format = "Wrong data format!";               // 165
inline constexpr std::string_view not_unit_vectors =
    "The direction cosines are not unit vectors! Do you want to normalize them (OK) or to "
    "cancel?";  // 166
inline constexpr const char* not_orthogonal_format =
    "The unit vectors %s are not orthogonal!  Check Data!";  // 167
inline constexpr std::string_view left_handed =
    "Your data define a left-handed axis system!  In order to get a right-handed sense, "
    "select an axis to invert or cancel!";                                    // 168
inline constexpr const char* euler_clipboard_format = "%.10f  %.10f  %.10f";  // 169
inline constexpr std::string_view null_vector =
    "One axis is a NULL vector!!  Normalization failed!";  // 170
inline constexpr std::string_view axes_not_assigned =
    "In defining the ordering of axes, not all axes have been assigned! Try again.";  // 171
inline constexpr std::string_view no_crystal_axes =
    "Error: there is no data on crystal axes!!";               // 172
inline constexpr std::string_view build_date = "May 19 2021";  // 257

// The program's own refusal of a rotation pattern that would never reach its end angle.
inline constexpr std::string_view increment_not_positive =
    "The rotation angle increment must be greater than zero!";
// ... and of one whose first or last rotation angle is infinite.
inline constexpr std::string_view angles_not_finite = "The rotation angles must be finite numbers!";

// The save question of New, Open, Exit, log-off and shutdown; %s is the current name.
inline constexpr const char* save_changes_format = "Save current changes in %s?";

// Asked (question icon, OK and Cancel) before a result of more than 100 million lines; %s is
// the number of lines. orvix-cli recognises the question by its fixed beginning.
inline constexpr const char* large_result_format =
    "The result will have %s lines. Do you want to go on?";
inline constexpr std::string_view large_result_prefix = "The result will have ";

// Labels of the progress dialogs of long work.
inline constexpr std::string_view generating_positions = "Generating positions...";
inline constexpr std::string_view generating_block = "Generating block...";
inline constexpr std::string_view counting_cluster = "Counting the atoms of the cluster...";
inline constexpr std::string_view writing_cluster = "Writing the cluster...";

// Refusals of Cluster around an Atom; %s is the label asked for.
inline constexpr const char* cluster_no_site_format =
    "There is no atom labelled %s in the crystal data!";
inline constexpr std::string_view cluster_radius_not_valid =
    "The cluster radius must be a finite number of Angstrom, zero or more!";
inline constexpr std::string_view cluster_radius_too_large =
    "The cluster radius reaches across more than 2147483646 unit cells!";

// Internal diagnostics without a caption of their own.
inline constexpr std::string_view text_length_zero = "text length is zero";
inline constexpr std::string_view no_buffer = "could not allocate buffer handle";
inline constexpr std::string_view no_edit_text = "could not get edit text";
inline constexpr std::string_view no_temp_path = "could not get temp path";
inline constexpr std::string_view no_temp_file = "could not get temp file";
inline constexpr std::string_view no_edit_content = "could not write edit content to file";
inline constexpr std::string_view no_input_name = "could not get name of input file";
inline constexpr std::string_view no_open_input = "could not open temp or edit content file";
inline constexpr std::string_view no_data_handle = "could not get data handle";
inline constexpr std::string_view no_output_file = "could not get output file";
inline constexpr std::string_view no_open_output = "could not open output file";

// A unit cell whose three angles no cell can have (the coordinates would be NaN).
inline constexpr std::string_view cell_cannot_close =
    "The cell angles do not describe a unit cell!";

// orvix-cli only: what the desktop program's silent end on a missing or non-Cartesian cell
// line means.
inline constexpr std::string_view no_cartesian_cell_line =
    "the input does not begin with a Cartesian cell line (first number 1, fourth number 90); "
    "nothing was computed";

// Import Structure: the structure's text does not fit into the editor (%zu atoms, %zu
// characters); shown with the imported file's path as caption, as Open shows a large file.
inline constexpr const char* import_too_large_format =
    "Edit control out of space!\n\nThe imported structure (%zu atoms) takes %zu characters; "
    "the editor holds fewer than 32000. orvix-cli import writes it to a file of any size, "
    "which every action reads when the editor is empty.";

// Looks a numbered string up; empty for a number the table does not hold.
std::string_view message_text(int number);

}  // namespace orvix::msg
