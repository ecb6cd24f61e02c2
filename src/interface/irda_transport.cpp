#include "interface/irda_transport.h"

std::unique_ptr<IrdaTransport> MakePlatformIrda()
{
    return std::make_unique<NoIrdaTransport>();
}
