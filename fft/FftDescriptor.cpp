// Descriptor interface of the real transform over RealFft.
#include "fft/FftDescriptor.h"

#include <cmath>
#include <new>

namespace fft {

FftStatus CreateRealDescriptor(FftDescriptor** handle, int length) {
    if (handle == nullptr) return FftStatus::NullHandle;
    *handle = nullptr;
    if (length < 1) return FftStatus::InvalidLength;
    FftDescriptor* descriptor = new (std::nothrow) FftDescriptor;
    if (descriptor == nullptr) return FftStatus::OutOfMemory;
    descriptor->length = length;
    *handle = descriptor;
    return FftStatus::Ok;
}

FftStatus SetPackedFormat(FftDescriptor* descriptor, PackedFormat format) {
    if (descriptor == nullptr) return FftStatus::NullHandle;
    descriptor->format = format;
    descriptor->committed = false;
    return FftStatus::Ok;
}

FftStatus SetForwardScale(FftDescriptor* descriptor, double scale) {
    if (descriptor == nullptr) return FftStatus::NullHandle;
    if (!std::isfinite(scale)) return FftStatus::InvalidValue;
    descriptor->forwardScale = scale;
    descriptor->committed = false;
    return FftStatus::Ok;
}

FftStatus SetBackwardScale(FftDescriptor* descriptor, double scale) {
    if (descriptor == nullptr) return FftStatus::NullHandle;
    if (!std::isfinite(scale)) return FftStatus::InvalidValue;
    descriptor->backwardScale = scale;
    descriptor->committed = false;
    return FftStatus::Ok;
}

FftStatus CommitDescriptor(FftDescriptor* descriptor) {
    if (descriptor == nullptr) return FftStatus::NullHandle;
    if (!descriptor->plan || descriptor->plan->Length() != descriptor->length) {
        try {
            descriptor->plan.reset(new RealFft(descriptor->length));
        } catch (const std::bad_alloc&) {
            descriptor->plan.reset();
            descriptor->committed = false;
            return FftStatus::OutOfMemory;
        }
    }
    descriptor->committed = true;
    return FftStatus::Ok;
}

FftStatus ComputeForward(FftDescriptor* descriptor, double* data) {
    if (descriptor == nullptr || data == nullptr) return FftStatus::NullHandle;
    if (!descriptor->committed) return FftStatus::NotCommitted;
    descriptor->plan->Forward(data, descriptor->forwardScale);
    return FftStatus::Ok;
}

FftStatus ComputeBackward(FftDescriptor* descriptor, double* data) {
    if (descriptor == nullptr || data == nullptr) return FftStatus::NullHandle;
    if (!descriptor->committed) return FftStatus::NotCommitted;
    descriptor->plan->Backward(data, descriptor->backwardScale);
    return FftStatus::Ok;
}

FftStatus FreeDescriptor(FftDescriptor** handle) {
    if (handle == nullptr) return FftStatus::NullHandle;
    delete *handle;
    *handle = nullptr;
    return FftStatus::Ok;
}

}  // namespace fft
