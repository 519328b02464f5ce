#pragma once
// What a numbering changed: the references and block numbers of every part are noted before it
// runs and compared after, so the report cannot disagree with what is written.

#include <vector>

#include "app/Job.h"
#include "schematic/Document.h"

namespace wemb {

class PartSnapshot {
  public:
    explicit PartSnapshot(const Document& document);

    // The parts whose reference or block number differs now, in file order.
    std::vector<PartRow> changesIn(const Document& document) const;
    // Every part, changed or not, with its fields before and now, in file order.
    std::vector<PartRow> partsIn(const Document& document) const;

  private:
    struct Fields {
        std::string reference;
        int block;
    };
    std::vector<Fields> before_;
};

// The part's fields as a report shows them; old and new are both the current state.
PartRow describePart(const Document& document, const PartEntry& part);

}  // namespace wemb
