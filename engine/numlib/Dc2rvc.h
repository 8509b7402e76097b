// Worker routines of DCORVC (see Dcorvc.h for the arguments).
#pragma once

namespace vorm {

// Size in doubles of the workspace that dC2RVC needs for NVAR variables under
// the missing-value option MOPT, with (weighted) or without weights; 0 when
// MOPT is not 0..3.
long dC2RVC_workspace_size(int NVAR, int MOPT, bool weighted);

// The computation of DCORVC on the workspace WK (at least
// dC2RVC_workspace_size doubles; held by the caller across the calls of an
// IDO 1, 2, ..., 3 sequence).  WK may be null only when the arguments fail
// their checks.
void dC2RVC(int IDO, int NROW, int NVAR, const double* X, int LDX, int IFRQ, int IWT, int MOPT, int ICOPT,
            double* XMEAN, double* COV, int LDCOV, int* INCD, int LDINCD, int& NOBS, int& NMISS, double& SUMWT,
            double* WK);

// Frequency FRQ and weight WT of row IROW (1-based) of X: 1 and 1 for absent
// columns; FRQ is NaN when the frequency or the weight is a NaN (the row is
// missing) and 0 when the row is to be skipped; FRQ is negated when NROW < 0.
// A negative frequency (FATAL 2) or weight (FATAL 1) is posted; INVOC is the
// number of the call within its IDO sequence, for the message.
void DC1WFR(int IDO, int NROW, const double* X, int LDX, int IROW, int IFRQ, int IWT, int INVOC, double& FRQ,
            double& WT);

}  // namespace vorm
