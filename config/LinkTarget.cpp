#include "config/LinkTarget.h"

std::string LinkTargetFromCaption(const std::string& caption) {
    if (caption.find(':') != std::string::npos)
        return caption;
    return "mailto:" + caption;
}
