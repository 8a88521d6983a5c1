#include "platform/ErrorText.h"

QString ErrorText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}
