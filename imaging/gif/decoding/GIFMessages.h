#pragma once
// Every error and warning text of the GIF decoder, each raised from one place.

namespace GIFMessage {
// Errors (GIFException).
inline constexpr char InvalidSignature[] = "Invalid GIF signature";
inline constexpr char PrematureEnd[] = "Premature end of data";
inline constexpr char UnknownExtensionType[] = "Unknown extension type";
inline constexpr char UnsupportedAppBlockSize[] = "Unsupported Application Extension block size";
inline constexpr char InvalidData[] = "Invalid GIF data";
inline constexpr char CircularTableEntry[] = "Circular decoder table entry";
inline constexpr char ColorTableEmpty[] = "Color table is empty";
inline constexpr char NoColorTable[] = "No global or local color table defined";
inline constexpr char DibAllocationFailed[] = "Failed to allocate memory for GIF DIB";
inline constexpr char InvalidExtensionIntroducer[] = "Invalid extension introducer";
inline constexpr char ExtensionLabelMismatch[] = "Internal error: Extension Instance does not match Extension Label";
// Our own guard: a frame whose pixel count is above the image's MaxFramePixels.
inline constexpr char ImageTooLarge[] = "Image too large to decode";

// Warnings (severity 1, to the warning hook).
inline constexpr char UnknownBlockType[] = "Unknown GIF block type";
inline constexpr char ImageExceedsScreen[] = "Image exceeds Logical Screen size";
inline constexpr char BitBufferUnderRun[] = "Decoder bit buffer under-run";
inline constexpr char InvalidTrailer[] = "Invalid Image trailer";
inline constexpr char InvalidColorIndex[] = "Invalid color index";
} // namespace GIFMessage

// Severity of every warning the decoder gives.
inline constexpr int GIFWarningSeverity = 1;
