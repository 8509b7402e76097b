// Data input and clean-up (MMLDAT) and the read-back of its scratch files
// (READIT): the layouts the two share, and the bound on the data file.
//
// MMLDAT writes the retained data to three scratch units and leaves them
// rewound; READIT reads them back into the store and closes them.  No other
// program reads these files, so the respondent layout is wider than the
// responses need: a 20-character identifier holds any 64-bit identifier and a
// 12-character response any 32-bit code, so no identifier or missing code is
// cut on its way into the store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Store.h"

namespace vorm {

// Records a data file may hold, 50 times the 2000 of the raw table.  Those
// past the table are held for the clean-up; a file with more is no data set
// (a file that keeps growing).
inline constexpr int kMaxDataRecords = 100000;

class RawTable;

// Records past the fixed table, held only while data input runs.  The table
// reaches them only while this object lives: it attaches itself to the table
// when made and detaches when it goes, however data input ends, so the
// table never keeps a pointer to records that are gone.
class RawOverflow {
public:
    // Starts a data set of `nitem` responses a record in `t`.
    RawOverflow(RawTable& t, int nitem);
    ~RawOverflow();
    RawOverflow(const RawOverflow&) = delete;
    RawOverflow& operator=(const RawOverflow&) = delete;

private:
    friend class RawTable;
    RawTable& table_;
    std::vector<std::int64_t> id_;
    std::vector<int> resp_;  // record by record
};

// The records as data input holds them while it cleans them (a work area of
// the run's workspace): the fixed table, and beyond it, in a RawOverflow, the
// records of a file longer than the table, held for the clean-up.  The table
// owns nothing, so the workspace stays a plain block that needs no
// construction (common/zeroed.h); a record past the table is there only
// while its RawOverflow lives.
class RawTable {
public:
    ItemInts itemno;  // data-file number of the item at position j

    // Record k (the next one) with its identifier and responses v[1..nitem].
    void hold(int k, const std::vector<std::int64_t>& v) {
        if (k > MAXSUBJ) {
            extra_->id_.push_back(0);
            extra_->resp_.resize(extra_->resp_.size() + static_cast<std::size_t>(nitem_));
        }
        id(k) = v[0];
        for (int j = 1; j <= nitem_; ++j) resp(k, j) = static_cast<int>(v[static_cast<std::size_t>(j)]);
    }
    // Identifier and response at item position j of record k.
    std::int64_t& id(int k) { return k <= MAXSUBJ ? id_(k) : extra_->id_[static_cast<std::size_t>(k - MAXSUBJ - 1)]; }
    int& resp(int k, int j) {
        if (k <= MAXSUBJ) return resp_(k, j);
        return extra_->resp_[static_cast<std::size_t>(k - MAXSUBJ - 1) * static_cast<std::size_t>(nitem_) +
                             static_cast<std::size_t>(j - 1)];
    }

private:
    friend class RawOverflow;
    int nitem_ = 0;
    RawOverflow* extra_ = nullptr;
    SubjIds id_;
    Arr2<int, 1, MAXSUBJ, 1, MAXITEM> resp_;  // record fastest
};

inline RawOverflow::RawOverflow(RawTable& t, int nitem) : table_(t) {
    t.nitem_ = nitem;
    t.extra_ = this;
}
inline RawOverflow::~RawOverflow() { table_.extra_ = nullptr; }

// "FT13F001": identifier, then the retained responses of one respondent.
inline constexpr const char* kScratchRespondentLayout = "(1X,I20,1X,100I12)";
// "FT14F001": retained respondents and items.
inline constexpr const char* kScratchCountsLayout = "(1X,I4,1X,I3)";
// "FT08F001": the data-file number of one retained item.
inline constexpr const char* kScratchItemLayout = "(1X,I3)";

}  // namespace vorm
