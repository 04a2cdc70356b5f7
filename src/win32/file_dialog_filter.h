#pragma once
// The file dialogs' filter as the system writes it ("Text (*.txt)|*.txt||")
// turned into the form the common dialogs read: the same pairs separated
// by zero characters, ending with two of them.
#include <string>

namespace velmora {

std::string commonDialogFilter(const std::string& barSeparated);

}  // namespace velmora
