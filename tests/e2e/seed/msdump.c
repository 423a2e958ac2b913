/* msdump: every record of the miniSEED files given, read with Debian's libmseed, as text lines
 *   R <file> <sequence> <NET.STA.LOC.CHA> <start, microseconds since 1970> <rate> <record length>
 *     <encoding> <samples>
 *   D <value> ...
 * Exit code 1 when a file cannot be read to its end. Its output is compared with the seisplotjs
 * reader's (msdump.mjs), which prints the same lines. */
#include <libmseed.h>
#include <stdio.h>

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        MSRecord* msr = NULL;
        int rc;
        while ((rc = ms_readmsr(&msr, argv[i], 0, NULL, NULL, 1, 1, 0)) == MS_NOERROR) {
            printf("R %s %d %s.%s.%s.%s %lld %g %d %d %lld\nD", argv[i], msr->sequence_number, msr->network,
                   msr->station, msr->location, msr->channel, (long long)msr->starttime, msr->samprate,
                   msr->reclen, msr->encoding, (long long)msr->numsamples);
            for (int64_t k = 0; k < msr->numsamples; ++k) {
                if (msr->sampletype == 'i') printf(" %d", ((int32_t*)msr->datasamples)[k]);
                else if (msr->sampletype == 'd') printf(" %.17g", ((double*)msr->datasamples)[k]);
                else printf(" ?");
            }
            printf("\n");
        }
        if (rc != MS_ENDOFFILE) {
            fprintf(stderr, "msdump: %s: %s\n", argv[i], ms_errorstr(rc));
            failed = 1;
        }
        ms_readmsr(&msr, NULL, 0, NULL, NULL, 0, 0, 0);
    }
    return failed;
}
