// The pass-through control codes and records against the system's own headers (the literal
// offsets are asserted beside the records). The checks of tests/wine/spti drive the Win32
// device seam under Wine.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>

#include "transport/SptiRecords.h"

static_assert(spti::kIoctlScsiPassThroughDirect == IOCTL_SCSI_PASS_THROUGH_DIRECT);
static_assert(spti::kIoctlScsiGetAddress == IOCTL_SCSI_GET_ADDRESS);
static_assert(spti::kIoctlStorageQueryProperty == IOCTL_STORAGE_QUERY_PROPERTY);
static_assert(spti::kDataIn == SCSI_IOCTL_DATA_IN && spti::kDataOut == SCSI_IOCTL_DATA_OUT &&
              spti::kDataUnspecified == SCSI_IOCTL_DATA_UNSPECIFIED);
static_assert(spti::kStorageAdapterProperty == StorageAdapterProperty);
static_assert(spti::kPropertyStandardQuery == PropertyStandardQuery);
static_assert(sizeof(spti::PassThroughDirect) == sizeof(SCSI_PASS_THROUGH_DIRECT));
static_assert(offsetof(spti::PassThroughDirect, DataBuffer) == offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer));
static_assert(sizeof(spti::ScsiAddress) == sizeof(SCSI_ADDRESS));
static_assert(sizeof(spti::PropertyQuery) == sizeof(STORAGE_PROPERTY_QUERY));
static_assert(offsetof(spti::AdapterDescriptor, AlignmentMask) == offsetof(STORAGE_ADAPTER_DESCRIPTOR, AlignmentMask));
