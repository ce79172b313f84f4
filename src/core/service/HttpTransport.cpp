#include "service/HttpTransport.h"

namespace kelvra {

const char* HttpOutcomeName(HttpOutcome outcome) {
    switch (outcome) {
    case HttpOutcome::Ok:
        return "ok";
    case HttpOutcome::Refused:
        return "refused";
    case HttpOutcome::TimedOut:
        return "timed out";
    case HttpOutcome::TooLarge:
        return "too large";
    case HttpOutcome::Aborted:
        return "aborted";
    case HttpOutcome::Failed:
        break;
    }
    return "failed";
}

} // namespace kelvra
