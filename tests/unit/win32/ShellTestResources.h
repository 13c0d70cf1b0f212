// What ShellTestResources.rc embeds, byte for byte, so that the tests can
// compare the extracted files with it.
#ifndef VELTRANO_SHELLTESTRESOURCES_H
#define VELTRANO_SHELLTESTRESOURCES_H

#define TEST_PAYLOAD_ID 7
static const char testPayload[] = "Veltrano\r\n\0\0\x80\xFF\xE4\xDF end";
#define TEST_PAYLOAD_SIZE (sizeof testPayload - 1)

#define TEST_NUMBERED_TYPE 300
#define TEST_NUMBERED_ID 9
static const char testNumbered[] = "numbered";

#endif
