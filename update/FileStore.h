#pragma once
// File reads and writes, as the text lists of the manifest and the log need them. The Windows
// implementation (FileStoreWin32.cpp) uses CreateFileA/ReadFile and a ReplacementFile; tests use fakes.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Bytes handed out a piece at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next piece, valid until the next call; empty once every byte has been handed out.
    virtual std::string_view Next() = 0;
};

// A text handed out in one piece.
class BytesInOnePiece : public ByteSource {
public:
    explicit BytesInOnePiece(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view Next() override { return std::exchange(given_, true) ? std::string_view() : bytes_; }

private:
    const std::string bytes_;
    bool given_ = false;
};

// A file's bytes read a piece at a time, from its start, as often as needed.
class PieceReader {
public:
    virtual ~PieceReader() = default;
    // Starts reading again from the first byte.
    virtual void Rewind() = 0;
    // Reads up to size bytes into buffer; 0 at the end. Raises EFOpenError when the bytes cannot be read.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Lets go of what the reading holds open, so that another file may take the file's name; the next Read
    // after a Rewind reads again. Reading to the end lets go as well. Raises nothing.
    virtual void StopReading() = 0;
};

// A file as it was when it was kept: once another file takes its name (renamed over it) or it is deleted,
// the kept bytes are those it held then. Writing into the file itself in place may show (see
// FileStoreWin32.h).
class KeptFile : public PieceReader {
public:
    // False when the kept bytes are known to live on under the file's own name still (nothing has taken
    // its place); true when they may live only here.
    virtual bool MayBeTheOnlyCopy() = 0;
    // Where the store can, the kept bytes stay for a later run (FileStore::LeftKeptFiles) instead of going
    // with this object.
    virtual void LeaveForALaterRun() = 0;
};

// A file that a run ended without letting go of (FileStore::KeepFile).
struct LeftKeptFile {
    std::string path;                // in the store's own place
    unsigned long long lastWritten;  // when its bytes were last written, in the store's ticks: later is larger
};

class FileStore {
public:
    virtual ~FileStore() = default;

    // Opens the file for reading (other readers allowed, writers refused), reads every byte in one request
    // into a buffer of the file's size and closes it. Raises EFOpenError on failure.
    virtual std::string ReadWholeFile(const std::string& path) = 0;

    // Keeps the file as it is now, under a name or in a place of the store's own that goes with the
    // returned object (other readers allowed, writers refused while it is read). Raises EFOpenError when
    // the file cannot be read.
    virtual std::unique_ptr<KeptFile> KeepFile(const std::string& path) = 0;

    // Makes the file hold exactly the bytes that the source hands out; the source is drained before the
    // file takes its new bytes. The bytes go to a temporary file which then takes the file's place in one
    // step, so a failed or killed save never loses what was on disk. Raises EFCreateError when the file
    // cannot be created or opened for writing (a folder of that name, a file held open by another program),
    // EWriteError on a short write, and whatever the source raises.
    virtual void SaveFile(const std::string& path, ByteSource& bytes) = 0;

    // The file read a piece at a time (other readers allowed, writers refused while it is open), as it is
    // when read: nothing is kept. Raises EFOpenError when it cannot be opened or read.
    virtual std::unique_ptr<PieceReader> ReadInPieces(const std::string& path) = 0;

    // True when the system finds an entry of that name that is not a folder.
    virtual bool FileExists(const std::string& path) = 0;

    // The files (readable by ReadInPieces) that a run ended without letting go of (KeepFile) and that have
    // no other name now: their bytes live nowhere else.
    virtual std::vector<LeftKeptFile> LeftKeptFiles() = 0;
    // Removes such a file once its bytes are safe elsewhere.
    virtual void ForgetLeftKeptFile(const std::string& path) = 0;
};
