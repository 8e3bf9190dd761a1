"""A receipt posted and read back from Python."""
import datetime

import pytest

import orv
from conftest import Y1, Y2, requires

pytestmark = [
    requires("vouchers", "ORVVouchers.clsRcptVoucher"),
    requires("masters", "ORVMasters.clsAccount"),
]

# leg: (account id, account name, amount, sign)
LEGS = {
    "Bank": (1, "State Bank", 950.0, "Dr"),
    "SalesReturn": (2, "Sales Returns", 0.0, "Dr"),
    "RateDiff": (3, "Rate Difference", 25.5, "Dr"),
    "Disc": (4, "Discount Allowed", 24.5, "Dr"),
    "Customer": (5, "Sharma Textiles", 1000.0, "Cr"),
}
DATE = datetime.datetime(2008, 9, 12)


@pytest.fixture
def receipt(cn, new_account):
    for account, name, _, _ in LEGS.values():
        new_account(account, name)
    r = orv.create("ORVVouchers.clsRcptVoucher")
    r.V_Id, r.V_Date, r.V_VoucherType = 7, DATE.date(), "Receipt"
    r.V_Remarks, r.V_StrVchNo, r.V_VchNo = "cheque 4471 'on account'", "R-7", 7
    for leg, (account, _, amount, sign) in LEGS.items():
        setattr(r, leg + "AccId", account)
        setattr(r, leg + "Amt", amount)
        setattr(r, leg + "AmtSign", sign)
    assert r.Save("New", cn, Y1, Y2) == 0
    return r


def test_a_receipt_writes_its_five_rows(receipt, rows):
    assert rows(
        "select V_EntryNo, V_AccId, V_Amt, V_AmtSign, V_Date, V_Remarks from VOUCHERS_2008_2009"
        " where V_Id=7 order by V_EntryNo"
    ) == [
        (entry, account, amount, sign, "2008-09-12", "cheque 4471 'on account'")
        for entry, (account, _, amount, sign) in enumerate(LEGS.values(), start=1)
    ]


def test_a_receipt_reads_back_with_the_account_names_of_its_legs(receipt, cn):
    r = orv.create("ORVVouchers.clsRcptVoucher")
    assert r.Read(7, cn, Y1, Y2) is None
    assert (r.V_Id, r.V_Date, r.V_VoucherType, r.V_StrVchNo) == (7, DATE, "Receipt", "R-7")
    for leg, (account, _, amount, sign) in LEGS.items():
        assert (
            getattr(r, leg + "AccId"),
            getattr(r, leg + "Amt"),
            getattr(r, leg + "AmtSign"),
        ) == (account, amount, sign)
    assert r.Customer.V_AccountName == "Sharma Textiles" and r.Customer.V_EntryNo == 5
    assert r.Bank.V_AccountName == "State Bank"


def test_leg_objects_are_shared_not_copied(receipt, cn, rows):
    assert receipt.Bank == receipt.Bank and receipt.Bank != receipt.Customer
    own = orv.create("ORVVouchers.clsVoucher")
    receipt.Discount = own
    assert receipt.Discount == own
    receipt.DiscAmt = 30.0
    receipt.Save("Edit", cn, Y1, Y2)
    assert (own.V_EntryNo, own.V_Amt) == (4, 30.0)
    assert rows("select V_Amt from VOUCHERS_2008_2009 where V_Id=7 and V_EntryNo=4") == [(30.0,)]
