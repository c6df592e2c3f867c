#include "ExitStatus.h"

int ExitStatus::of(const HostError& error) {
    switch (error.kind()) {
    case HostError::Kind::Step:
        return 1;
    case HostError::Kind::Usage:
        return 2;
    case HostError::Kind::Load:
        return 3;
    case HostError::Kind::Output:
        return 4;
    case HostError::Kind::Store:
        return 5;
    }
    return 1;
}
