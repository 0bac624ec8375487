#include "store/registry.h"

namespace morrowick {

std::string FailedToSetText(const std::string& name) { return "Failed to set data for '" + name + "'"; }
std::string FailedToGetText(const std::string& name) { return "Failed to get data for '" + name + "'"; }
std::string InvalidDataTypeText(const std::string& name) { return "Invalid data type for '" + name + "'"; }

}  // namespace morrowick
