#include "Identifier.h"

namespace {

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

} // namespace

bool IsIdentifier(const tstring& name)
{
    if (name.empty() || !isLetter(static_cast<unsigned char>(name[0])))
        return false;
    for (unsigned char c : name)
        if (!isLetter(c) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}
