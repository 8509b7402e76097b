#include "common/stamp.h"

#include "common/textio.h"

namespace vorm {

std::string date_line(const JobSettings& job, int lead) {
    std::string layout = "('" + std::string(static_cast<std::size_t>(lead), ' ') +
                         "***** TODAY''S DATE: ',I2,'/',I2,'/',I4,' TODAY''S TIME: ',I2,':',I2,':',I2,' *****')";
    return format_fixed(layout, {job.IMONTH, job.IDAY, job.IYEAR, job.IHOUR, job.IMIN, job.ISEC});
}

}  // namespace vorm
