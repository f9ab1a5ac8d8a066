// The scales at which a layer is drawn (IScaleRange), as denominators, 0 for no limit: the
// minimum scale is the zoomed-out limit (the larger denominator), the maximum scale the
// zoomed-in one. A limit is a finite number, 0 or more; a range whose ends would be the wrong
// way round is refused and changes nothing.
#pragma once
#include "mapmodel/support.h"

namespace mapmodel {

class ScaleRange : public Dispatch<IScaleRange> {
public:
    STDMETHODIMP get_MinimumScale(double* v) override;
    STDMETHODIMP put_MinimumScale(double v) override;
    STDMETHODIMP get_MaximumScale(double* v) override;
    STDMETHODIMP put_MaximumScale(double v) override;

private:
    void check_range(double minimum, double maximum) const;
    double minimum_ = 0, maximum_ = 0;
};

}  // namespace mapmodel
