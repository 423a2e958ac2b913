// libmseed as the reader of the tests' records.
#include "SeedTestSupport.h"

#include <gtest/gtest.h>

#ifdef QUORVEL_HAVE_LIBMSEED
#include <libmseed.h>
#endif

namespace seedtest {

#ifdef QUORVEL_HAVE_LIBMSEED

bool HaveReader() { return true; }

std::vector<ReadRecord> ReadRecords(const std::string& bytes) {
    std::vector<ReadRecord> out;
    std::vector<char> copy(bytes.begin(), bytes.end());
    for (size_t at = 0; at + 512 <= copy.size(); at += 512) {
        MSRecord* msr = nullptr;
        const int rc = msr_parse(copy.data() + at, 512, &msr, 512, 1, 0);
        EXPECT_EQ(rc, MS_NOERROR) << "record at " << at;
        if (rc != MS_NOERROR || !msr) {
            msr_free(&msr);
            break;
        }
        ReadRecord r;
        r.sequence = msr->sequence_number;
        r.nslc = std::string(msr->network) + "." + msr->station + "." + msr->location + "." + msr->channel;
        r.startUs = msr->starttime;
        r.rate = msr->samprate;
        r.length = msr->reclen;
        r.encoding = msr->encoding;
        EXPECT_EQ(msr->numsamples, msr->samplecnt);
        if (msr->sampletype == 'i') {
            const auto* v = static_cast<const int32_t*>(msr->datasamples);
            r.ints.assign(v, v + msr->numsamples);
        } else if (msr->sampletype == 'd') {
            const auto* v = static_cast<const double*>(msr->datasamples);
            r.doubles.assign(v, v + msr->numsamples);
        }
        msr_free(&msr);
        out.push_back(std::move(r));
    }
    EXPECT_EQ(copy.size() % 512, 0u);
    return out;
}

#else

bool HaveReader() { return false; }
std::vector<ReadRecord> ReadRecords(const std::string&) { return {}; }

#endif

}  // namespace seedtest
