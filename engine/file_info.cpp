#include "file_info.h"

FileInfo file_info{};
