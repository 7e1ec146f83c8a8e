#pragma once

namespace coop {

// A stock screen as the goods movement screens reach it through the registry: shown from their
// picture button, and told when a posting or a transfer changed the stock it shows.
class StockView
{
public:
    // Shows the screen modally.
    virtual void showStock() = 0;
    // Reads the stock again (its query closed and opened).
    virtual void stockChanged() = 0;

protected:
    ~StockView() = default;
};

} // namespace coop
