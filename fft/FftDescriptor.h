// Descriptor interface of the real transform: create, configure, commit, compute, free.
#pragma once

#include "fft/RealFft.h"

namespace fft {

enum class FftStatus {
    Ok,
    InvalidLength,   // length below 1 at creation
    NullHandle,      // a null descriptor or null data pointer was passed
    NotCommitted,    // compute before commit, or a setting changed after the last commit
    InvalidValue,    // a scale that is not a finite number
    OutOfMemory,     // the descriptor or its plan could not be allocated
};

// Output layouts of the real forward transform; only the packed "pack" layout of RealFft.h exists.
enum class PackedFormat {
    Pack,
};

// Double-precision real-input one-dimensional transform of a fixed length. Owns its plan once
// committed; every compute call after that allocates nothing.
struct FftDescriptor {
    int length = 0;
    PackedFormat format = PackedFormat::Pack;
    double forwardScale = 1.0;
    double backwardScale = 1.0;
    bool committed = false;        // plan matches the settings above
    std::unique_ptr<RealFft> plan; // built by CommitDescriptor
};

// Creates an uncommitted descriptor of `length` real samples in *handle (null on failure).
[[nodiscard]] FftStatus CreateRealDescriptor(FftDescriptor** handle, int length);
FftStatus SetPackedFormat(FftDescriptor* descriptor, PackedFormat format);
// The forward result is multiplied by `scale`; the default is 1.
FftStatus SetForwardScale(FftDescriptor* descriptor, double scale);
// The backward result is multiplied by `scale`; the default is 1.
FftStatus SetBackwardScale(FftDescriptor* descriptor, double scale);
// Plans the transform (twiddles, factorisation, scratch). The only call that allocates.
[[nodiscard]] FftStatus CommitDescriptor(FftDescriptor* descriptor);
// In place: `data` holds length real samples and receives the packed spectrum times the forward
// scale. On failure data is left untouched.
[[nodiscard]] FftStatus ComputeForward(FftDescriptor* descriptor, double* data);
// In place: packed spectrum X in, data[n] = backward scale · sum over k = 0 … length − 1 of
// X[k]·e^(+2πikn/length) out, the missing bins taken as conj(X[length − k]). Forward scale s and
// backward scale 1/(length·s) return the samples.
[[nodiscard]] FftStatus ComputeBackward(FftDescriptor* descriptor, double* data);
// Frees *handle (a null handle is fine) and sets it to null.
FftStatus FreeDescriptor(FftDescriptor** handle);

}  // namespace fft
