// The payload of Install, in installation order: one PAYLOAD_FILE(identifier,
// file name) per "INSTALL_FILE" resource. The resource script turns each row
// into a resource read from the build's payload directory or the
// application's documents; the installation turns the same rows into
// payloadFiles. Identifier 3 carries the uninstaller byte for byte.
// No include guard: each includer defines PAYLOAD_FILE first.
PAYLOAD_FILE(1, "Pellino.exe")
PAYLOAD_FILE(2, "Readme.rtf")
PAYLOAD_FILE(3, "_purgel.exe")
PAYLOAD_FILE(1001, "Index.htm")
PAYLOAD_FILE(1002, "GettingStarted.htm")
PAYLOAD_FILE(1003, "Settings.htm")
PAYLOAD_FILE(1004, "Uninstall.htm")
PAYLOAD_FILE(1005, "VeltranoHelp.htm")
PAYLOAD_FILE(1006, "Keyboard.htm")
PAYLOAD_FILE(1007, "Proxy.htm")
PAYLOAD_FILE(1008, "Troubleshooting.htm")
PAYLOAD_FILE(1009, "Glossary.htm")
PAYLOAD_FILE(1010, "Contact.htm")
PAYLOAD_FILE(1011, "Logo.gif")
PAYLOAD_FILE(1012, "Banner.gif")
PAYLOAD_FILE(1013, "Window.gif")
PAYLOAD_FILE(1014, "Settings.gif")
PAYLOAD_FILE(1015, "Back.gif")
PAYLOAD_FILE(1016, "Next.gif")
PAYLOAD_FILE(1017, "Home.gif")
PAYLOAD_FILE(1018, "Bullet.gif")
PAYLOAD_FILE(1019, "Divider.gif")
PAYLOAD_FILE(1020, "Tip.gif")
PAYLOAD_FILE(1021, "Warning.gif")
PAYLOAD_FILE(1022, "Note.gif")
PAYLOAD_FILE(1023, "License.rtf")
