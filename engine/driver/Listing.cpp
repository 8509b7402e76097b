#include "driver/Listing.h"

#include <ostream>

#include "common/textio.h"
#include "model/Traits.h"

namespace vorm {

namespace {

void blank(std::ostream& os, int n = 1) {
    for (int k = 0; k < n; ++k) write_free(os);
}

// The 256-character field of a text setting: short texts are padded, a longer
// one is shown whole (paths are never cut).
std::string field256(const std::string& s) {
    std::string t = s;
    if (t.size() < 256) t.resize(256, ' ');
    return t;
}

}  // namespace

void write_parameter_listing(std::ostream& rep, JobSettings& job, const JobEcho& echo) {
    rep << date_line(job) << '\n';
    blank(rep, 2);
    if (!echo.cmdfile.empty()) {
        write_free(rep, {" THE COMMAND FILE USED FOR THIS JOB IS: ", field256(echo.cmdfile)});
        blank(rep, 2);
    }
    blank(rep);
    write_free(rep, {" ********** RUNTIME PARAMETERS **********"});
    blank(rep, 3);
    write_free(rep, {" ***** MODEL PARAMETERS *****"});
    blank(rep);

    switch (job.MODEL) {
        case 1:
        case 5:
            write_free(rep, {" REQUESTED MODEL IS: 1-PARAMETER", " QAV WITH SINGLE UNIT PARAMETER"});
            break;
        case 2:
        case 6:
            write_free(rep, {" REQUESTED MODEL IS: 2-PARAMETER", " QAV WITH VARYING UNIT PARAMETERS ACROSS ITEMS"});
            break;
        case 3:
        case 7:
            write_free(rep, {" REQUESTED MODEL IS: GENERAL QAV", " WITH CONSTANT THRESHOLDS ACROSS ITEMS"});
            break;
        default:
            write_free(rep, {" REQUESTED MODEL IS: GENERAL QAV", " WITH VARYING THRESHOLDS ACROSS ITEMS"});
            break;
    }
    if (model_traits(job.MODEL).discrimination) write_free(rep, {" AND A DISCRIMINATION PARAMETER", " FOR EACH ITEM"});

    blank(rep);
    write_free(rep, {" ***** CONSTRAINTS *****"});
    blank(rep);
    if (job.ICONST == 1) {
        switch (job.MODEL) {
            case 2:
            case 6:
                write_free(
                    rep, {" THE AVERAGE VALUE OF EACH LAMBDA PARAMETER IS", " CONSTRAINED TO BE EQUAL TO THE LAMBDAS"});
                write_free(rep, {job.MODEL == 2 ? " OBTAINED INITIALLY WITH MODEL 1 (I.E., A COMMON"
                                                : " OBTAINED INITIALLY WITH MODEL 5 (I.E., A COMMON",
                                 " SET OF LAMBDAS ACROSS ITEMS)"});
                break;
            case 4:
            case 8:
                write_free(rep, {" THE AVERAGE VALUE OF EACH THRESHOLD PARAMETER IS",
                                 " CONSTRAINED TO BE EQUAL TO THE THRESHOLDS"});
                write_free(rep, {job.MODEL == 4 ? " OBTAINED INITIALLY WITH MODEL 3 (I.E., A COMMON"
                                                : " OBTAINED INITIALLY WITH MODEL 7 (I.E., A COMMON",
                                 " SET OF THRESHOLDS ACROSS ITEMS)"});
                break;
            default:
                // Models with one common unit or threshold set have nothing to
                // constrain the per-item values to.
                job.ICONST = 0;
                write_fixed(rep, "('  IT IS NOT APPROPRIATE TO APPLY CONSTRAINTS WITH',' MODEL ',I1,'.')", {job.MODEL});
                write_free(rep, {" YOUR CONSTRAINT REQUEST WAS AUTOMATICALLY", " DELETED."});
                break;
        }
    }
    if (job.ICONST == 0) write_free(rep, {" NO CONSTRAINTS ARE USED."});

    blank(rep);
    write_free(rep, {" ***** DATA PARAMETERS *****"});
    blank(rep);
    write_free(rep, {" RESPONSE DATA FILE: ", field256(echo.datfile)});
    blank(rep);
    write_free(rep, {" DATA FORMAT: ", field256(echo.datfmt)});
    blank(rep);
    if (job.LCATC == -1)
        write_free(rep, {" EACH ITEM HAS ", job.NCAT(1), " RESPONSE CATEGORIES"});
    else
        write_free(rep, {" NUMBER OF RESPONSE CATEGORIES MAY VARY ACROSS", " ITEMS"});
    blank(rep);
    if (job.IRECOD == 1)
        write_free(rep, {" RESPONSE CODES ARE REDUCED", " (RECODED) BY ONE"});
    else
        write_free(rep, {" RESPONSE CODES ARE NOT REDUCED", " (RECODED) BY ONE"});
    blank(rep);
    if (echo.cutoff_constant)
        write_free(rep, {" EXTREME RESPONSE CUTOFF VALUE (AFTER RECODE): ", job.ICUT(1)});
    else
        write_free(rep, {" RESPONSE CUTOFF VALUE MAY VARY ACROSS", " ITEMS"});

    if (job.NDELI >= 1) {
        blank(rep);
        write_free(rep, {" THE USER HAS REQUESTED THAT ", job.NDELI, " ITEMS BE DELETED.  THESE ITEMS ARE:"});
        for (int k = 1; k <= job.NDELI; ++k) write_fixed(rep, "(T6,I3)", {job.IDELI(k)});
        write_free(rep, {" ** NOTE THAT OTHER ITEMS MAY ALSO BE DISCARDED", " DUE TO EXTREME RESPONSE PATTERNS **"});
    }
    if (job.NDELS >= 1) {
        blank(rep);
        write_free(rep, {" THE USER HAS REQUESTED THAT ", job.NDELS, " SUBJECTS BE DELETED.  THESE SUBJECTS ARE:"});
        for (int k = 1; k <= job.NDELS; ++k) write_fixed(rep, "(T6,I4)", {static_cast<long long>(job.IDELS(k))});
        write_free(rep, {" ** NOTE THAT OTHER SUBJECTS MAY ALSO BE DISCARDED", " DUE TO EXTREME RESPONSE PATTERNS **"});
    }

    blank(rep);
    write_free(rep, {" ***** ESTIMATION PARAMETERS *****"});
    blank(rep);
    write_free(rep, {" THE NUMBER OF QUADRATURE POINTS USED IS: ", job.NQUAD});
    blank(rep);
    write_fixed(rep, "('  MAXIMUM NUMBER OF OUTER (EXPECTATION) CYCLES IS: ',I3)", {job.MAXOUT});
    blank(rep);
    write_fixed(rep, "('  MAXIMUM NUMBER OF INNER (MAXIMIZATION) CYCLES IS: ',I3)", {job.MAXIN});
    blank(rep);
    if (model_traits(job.MODEL).unit)
        write_fixed(rep, "('  MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR',' UNIT VALUE(S) IS(ARE): ',I3)",
                    {job.MAXFSU});
    else
        write_fixed(rep, "('  MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR TAU',' VALUES IS: ',I3)", {job.MAXFST});
    blank(rep);
    write_fixed(rep, "('  MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR',' ITEM PARAMETERS IS: ',I3)", {job.MAXFSI});
    blank(rep);
    write_fixed(rep, "('  CONVERGENCE CRITERION FOR ALL MAXIMIZATION STEPS',' IS: ',F8.5)", {job.CONVC});

    if (job.IFITAN == 1) {
        blank(rep);
        write_free(rep, {" ***** FIT STATISTICS *****"});
        blank(rep);
        write_fixed(rep, "('  THE NUMBER OF FIT GROUPS REQUESTED IS: ',I3)", {job.NFITG});
        blank(rep);
        write_free(rep, {" FOR ITEM FIT (INFIT/OUTFIT), THE FOLLOWING", " CRITERIA ARE IN EFFECT:"});
        blank(rep);
        write_fixed(rep, "('  ALPHA LEVEL TO DECLARE AN ITEM CHI-SQUARE',' SIGNIFICANT: ',F8.5)", {job.ITALPH});
        blank(rep);
        write_fixed(rep,
                    "('  APPROXIMATE T-VALUE CUTOFF TO DECLARE A STANDARDIZED',' ITEM MEAN SQUARE',/,"
                    "'  SIGNIFICANT: ',F8.5)",
                    {job.ITTCUT});
        blank(rep, 2);
        write_free(rep, {" FOR PERSON FIT (INFIT/OUTFIT), THE FOLLOWING", " CRITERIA ARE IN EFFECT:"});
        blank(rep);
        if (job.IPRALL == 1) {
            write_free(rep, {" PERSON FIT STATISTICS ARE", " PRINTED FOR ALL PERSONS REGARDLESS OF DEGREE OF FIT"});
        } else {
            write_free(rep, {" PERSON FIT STATISTICS ARE", " PRINTED ONLY FOR ILL-FITTING PERSONS AS"});
            write_free(rep, {" DEEMED BY USER SUPPLIED CRITERIA"});
        }
        blank(rep);
        write_fixed(rep, "('  ALPHA LEVEL TO DECLARE AN PERSON CHI-SQUARE',' SIGNIFICANT: ',F8.5)", {job.PSALPH});
        blank(rep);
        write_fixed(rep,
                    "('  APPROXIMATE T-VALUE CUTOFF TO DECLARE A STANDARDIZED',' PERSON MEAN SQUARE',/,"
                    "'  SIGNIFICANT: ',F8.5)",
                    {job.PSTCUT});
        blank(rep);
        write_fixed(rep,
                    "('  APPROXIMATE T-VALUE CUTOFF TO DECLARE A LOCALIZED',' PERSON MEAN SQUARE',/,"
                    "'  SIGNIFICANT: ',F8.5)",
                    {job.PSLCUT});
    }
    blank(rep, 2);
    write_free(rep, {" ********** END OF PARAMETER LISTING **********"});
    blank(rep, 3);
}

}  // namespace vorm
