// Writing the page and the table into the output folder, and nowhere else.
#ifndef TARVOLO_RESULTS_OUTPUT_FOLDER_H
#define TARVOLO_RESULTS_OUTPUT_FOLDER_H

#include <string>

// Creates the folder when missing.
bool MakeFolder(const std::string& folder, std::string& why);

// Writes bytes to folder/name through a new temporary file in the folder,
// renamed over the old one: a link standing at folder/name is replaced, never
// followed out of the folder, and a reader never sees half a page.
bool WriteIntoFolder(const std::string& folder, const std::string& name, const std::string& bytes,
                     std::string& why);

#endif
