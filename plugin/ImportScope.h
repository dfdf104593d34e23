// What an import changes in the host for its own length: the registration of the
// import callback, the reader's modes, part locating and the active workspace.
// Each owner changes its state when made; the import gives it back at its own
// step (Finish), and an exception that leaves the import gives it back on the way
// out, so the host is never left with a registration that points into this
// library or with modes that only the import wanted. Main thread only.
#pragma once

#include "ComponentRegistry.h"

// The callback registered under "tarnvel" for the import's reads.
class ImportRegistration {
public:
    ImportRegistration();
    ~ImportRegistration() { Finish(); }
    ImportRegistration(const ImportRegistration&) = delete;
    ImportRegistration& operator=(const ImportRegistration&) = delete;
    void Finish();

private:
    core::ComponentRegistryHelper registry_;
    bool registered_ = true;
};

// The reader modes of an import; the previous values come back in reverse order.
class ImportReaderModes {
public:
    ImportReaderModes();
    ~ImportReaderModes() { Finish(); }
    ImportReaderModes(const ImportReaderModes&) = delete;
    ImportReaderModes& operator=(const ImportReaderModes&) = delete;
    void Finish();

private:
    int silent_;
    int keepBibSetModes_;
    short bibModify_;
    bool set_ = true;
};

// Part locating switched on for the read of a new part.
class PartLocating {
public:
    PartLocating();
    ~PartLocating() { Finish(); }
    PartLocating(const PartLocating&) = delete;
    PartLocating& operator=(const PartLocating&) = delete;
    void Finish();

private:
    short previous_;
    bool set_ = true;
};

// No workspace active for a replacing read, which places the new part in none;
// the workspace that was active comes back afterwards.
class NoActiveWorkspace {
public:
    // `active` is what CiWork::Act reported: 0 when no workspace was active.
    explicit NoActiveWorkspace(unsigned long active);
    ~NoActiveWorkspace() { Finish(); }
    NoActiveWorkspace(const NoActiveWorkspace&) = delete;
    NoActiveWorkspace& operator=(const NoActiveWorkspace&) = delete;
    void Finish();

private:
    unsigned long workspace_;
};
