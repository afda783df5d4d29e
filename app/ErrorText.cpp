#include "app/ErrorText.h"

#include "common/GbkText.h"

std::string ErrorText(const std::string& message)
{
    if (message.empty() || message.substr(GbkLastCharStart(message)) <= ".")
        return message;
    return message + ".";
}
