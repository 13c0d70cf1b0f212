#include "Product.h"

const PayloadFile payloadFiles[] = {
#define PAYLOAD_FILE(identifier, fileName) {fileName, identifier},
#include "product/Payload.inc"
#undef PAYLOAD_FILE
    {"", 0}};

const GroupShortcut groupShortcuts[] = {
#define GROUP_SHORTCUT(linkName, target) {linkName, target},
#include "product/GroupShortcuts.inc"
#undef GROUP_SHORTCUT
    {"", ""}};
