# Compares two generated tables: the text must agree with every number taken
# out, and the numbers must agree within TOL (absolute).  Prints the first
# difference and exits 1.
function numbers(line, out,    n) {
    n = 0
    while (match(line, /[-+]?[0-9]+\.[0-9]+(e[-+][0-9]+)?/)) {
        out[++n] = substr(line, RSTART, RLENGTH) + 0
        line = substr(line, RSTART + RLENGTH)
    }
    return n
}
function shape(line) {
    gsub(/[-+]?[0-9]+\.[0-9]+(e[-+][0-9]+)?/, "N", line)
    return line
}
FNR == NR { expected[FNR] = $0; lines = FNR; next }
{
    if (FNR > lines || shape($0) != shape(expected[FNR])) {
        printf "line %d: \"%s\" where \"%s\" was expected\n", FNR, $0, expected[FNR]
        failed = 1
        exit 1
    }
    n = numbers(expected[FNR], want)
    numbers($0, got)
    for (k = 1; k <= n; ++k) {
        d = got[k] - want[k]
        if (d < 0) d = -d
        if (d > TOL) {
            printf "line %d: %.9g where %.9g was expected\n", FNR, got[k], want[k]
            failed = 1
            exit 1
        }
    }
    seen = FNR
}
END {
    if (failed) exit 1
    if (seen < lines) {
        printf "line %d: missing\n", seen + 1
        exit 1
    }
}
