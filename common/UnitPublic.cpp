#include "common/UnitPublic.h"

const std::uint16_t CipherKey = 0xB7A5;

const char LaunchParameters[23] = "244C716468507B606F7E6D";

const char PlatformTitle[] = "Marovin--\xD4\xDA\xCF\xDF\xBF\xBC\xCA\xD4\xC6\xBD\xCC\xA8"; // Marovin--在线考试平台

const char ServerAddressCode[17] = "3A3A2A3E22312E36";
const char DatabaseUserCode[13] = "7A6F726F6D37";
const char CatalogCode[51] = "42646C7B6E636128416F7B60636A67395B61667966457F626C";
const char ServicePathCode[49] = "244F7B6A66556D747863636C22597D6263766225607F637A";
