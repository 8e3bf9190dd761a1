"""The walkthrough in Python: the components driven by late binding through the module orv.

Creates the year database of a demo company under ./demo-data (or the folder given as the only
argument), connects to it through clsCompany and runs a step per component that this build has:
accounts, a receipt, a sale and a purchase, and items.

    PYTHONPATH=build/python /usr/bin/python3 examples/walkthrough.py [data folder]
"""
import datetime
import pathlib
import sys

import orv

Y1, Y2 = 2008, 2009


def put(obj, **properties):
    """Assigns each property of obj in turn (a property put by late binding)."""
    for name, value in properties.items():
        setattr(obj, name, value)


def heading(title):
    print(f"\n== {title} ==")


def available(prog_id):
    """Whether this build has the component of prog_id."""
    try:
        orv.create(prog_id)
        return True
    except orv.Error as e:
        print(f"({prog_id} is not built: step skipped; {e})")
        return False


def ensure_account(cn, account_id, name, flag="L", group=0, opening=0.0, sign="Dr"):
    account = orv.create("ORVMasters.clsAccount")
    if account.Get_AccountName(account_id, cn, Y1, Y2):
        return
    put(account, AccountId=account_id, AccountName=name, GroupFlag=flag, GroupNo=group)
    put(account, OpeningBalance=opening, OpeningBalanceSign=sign)
    account.AD.AccountId = account_id  # the details row is keyed by its own AccountId
    account.Save("New", account_id, cn, Y1, Y2)


def show_rows(cn, voucher_id):
    """The voucher's rows, each read through a trade voucher row (clsVchr)."""
    row = orv.create("ORVVchr.clsVchr")
    parts = []
    for entry in range(1, 6):
        row.V_AccId = 0  # a Read that finds no row leaves it so
        row.Read(voucher_id, entry, cn, Y1, Y2)
        if row.V_AccId:
            parts.append(f"[{entry}] {row.V_AccId} {row.V_Amt:g} {row.V_AmtSign}")
    print(f"  rows of voucher {voucher_id}: " + "  ".join(parts))


def accounts(company, cn):
    heading("Accounts")
    chart = [
        (1, "Assets", "G", 0, 0.0, "Dr"),
        (2, "Liabilities", "G", 0, 0.0, "Cr"),
        (10, "Current Assets", "G", 1, 0.0, "Dr"),
        (11, "Cash", "L", 10, 5000.0, "Dr"),
        (12, "State Bank", "L", 10, 25000.0, "Dr"),
        (13, "Sundry Debtors", "G", 1, 0.0, "Dr"),
        (14, "Ramesh Traders", "L", 13, 12000.0, "Dr"),
        (20, "Capital", "L", 2, 42000.0, "Cr"),
    ]
    for account_id, name, flag, group, opening, sign in chart:
        ensure_account(cn, account_id, name, flag, group, opening, sign)
        saved = orv.create("ORVMasters.clsAccount")
        saved.Read(account_id, cn, Y1, Y2)
        print(
            f"saved {account_id:2} {name:15} flag {flag}, group {group:2} -> level {saved.LevelNo}"
        )

    details = orv.create("ORVMasters.clsAccount")
    details.Read(14, cn, Y1, Y2)
    d = details.AD
    put(d, ContactPerson1="Ramesh Kumar", Area="Gandhinagar ", Pincode="560009 ", State="Karnataka")
    d.Limit = 50000
    details.Save("Edit", 14, cn, Y1, Y2)
    print("details of 14 saved with an Edit")

    account = orv.create("ORVMasters.clsAccount")
    print("\nGet_Accounts_With_Id: posting accounts, sorted by name")
    count, listed = account.Get_Accounts_With_Id(0, "L", "", "", 0, "AM_AccName", cn, Y1, Y2, [])
    for a in listed[:count]:
        print(f"  {a.AccountId:3}  {a.AccountName}")
    print(f"  ({count} accounts; the list has {len(listed)} elements, the last one {listed[-1]})")

    print("\nGet_Accounts_With_Details: the members of Sundry Debtors, read in full")
    query = f"Select AM_AccId from {company.Table.AM} where AM_GrpNo=13 order by AM_AccId"
    count, listed = account.Get_Accounts_With_Details(query, cn, Y1, Y2, [])
    for a in listed[:count]:
        print(
            f"  {a.AccountId} {a.AccountName}, {a.OpeningBalance:g} {a.OpeningBalanceSign}, "
            f"contact {a.AD.ContactPerson1}, limit {a.AD.Limit:g}, print address {a.AD.PrintAddress!r}"
        )
    print(
        f"Get_AccountName(14) = {account.Get_AccountName(14, cn, Y1, Y2)!r}, "
        f"Get_AccountName(99) = {account.Get_AccountName(99, cn, Y1, Y2)!r}"
    )
    print(
        f"opening balances: Dr {account.Get_AccountSum('Dr', cn, Y1, Y2):g}, "
        f"Cr {account.Get_AccountSum('Cr', cn, Y1, Y2):g}"
    )
    print(
        "Delete(13), a group with a member:",
        "deleted" if account.Delete(13, cn, Y1, Y2) else "refused",
    )


def receipt(cn):
    heading("Receipt")
    for account_id, name in [(12, "State Bank"), (14, "Ramesh Traders"), (31, "Discount Allowed")]:
        ensure_account(cn, account_id, name)
    r = orv.create("ORVVouchers.clsRcptVoucher")
    put(r, V_Id=7, V_Date=datetime.date(2008, 9, 12), V_VoucherType="Receipt", V_StrVchNo="R-7")
    r.V_Remarks = "cheque 4471"
    r.BankAccId, r.BankAmt, r.BankAmtSign = 12, 9800.0, "Dr"
    r.DiscAccId, r.DiscAmt, r.DiscAmtSign = 31, 200.0, "Dr"
    r.CustomerAccId, r.CustomerAmt, r.CustomerAmtSign = 14, 10000.0, "Cr"
    print("Save ->", r.Save("New", cn, Y1, Y2))
    back = orv.create("ORVVouchers.clsRcptVoucher")
    back.Read(7, cn, Y1, Y2)
    print(
        f"read back receipt {back.V_Id} of {back.V_Date:%Y-%m-%d}, {back.V_StrVchNo}: {back.V_Remarks!r}"
    )
    for leg in ("Bank", "SalesReturn", "RateDifference", "Discount", "Customer"):
        row = getattr(back, leg)
        print(
            f"  [{row.V_EntryNo}] {leg:15} {row.V_AccId:3} {row.V_AccountName:18} {row.V_Amt:9g} {row.V_AmtSign}"
        )


def trade(cn):
    heading("Trade vouchers")
    for account_id, name in [
        (401, "Sharma Textiles"),
        (402, "Mehta Mills"),
        (403, "Sales A/c"),
        (404, "Purchase A/c"),
        (405, "VAT Payable"),
        (406, "Additional Tax"),
        (407, "Round Off"),
    ]:
        ensure_account(cn, account_id, name)
    sale = orv.create("ORVVchr.Sales")
    put(sale, V_Id=101, V_Date=datetime.date(2008, 9, 12), V_VoucherType="Sales", V_StrVchNo="S-17")
    sale.IsVatSales = True
    legs = [
        ("Customer", 401, 1180.6, "Dr"),
        ("Sales", 403, 1000.0, "Cr"),
        ("Vat", 405, 125.0, "Cr"),
        ("AddTax", 406, 55.0, "Cr"),
        ("RndOff", 407, 0.6, "Cr"),
    ]
    for leg, account_id, amount, sign in legs:
        setattr(sale, leg + "AccId", account_id)
        setattr(sale, leg + "Amt", amount)
        setattr(sale, leg + "AmtSign", sign)
    sale.Save("New", cn, Y1, Y2)
    print("saved sale 101 with five legs")
    show_rows(cn, 101)

    purchase = orv.create("ORVVchr.Purchase")
    put(purchase, V_Id=102, V_Date=datetime.date(2008, 9, 14), V_VoucherType="Purchase")
    purchase.SupplierAccId, purchase.SupplierAmt, purchase.SupplierAmtSign = 402, 2400.0, "Cr"
    purchase.PurchaseAccId, purchase.PurchaseAmt, purchase.PurchaseAmtSign = 404, 2400.0, "Dr"
    purchase.Save("New", cn, Y1, Y2)
    print("saved purchase 102 whose three tax legs are 0")
    show_rows(cn, 102)

    sale.CustomerAmt, sale.RndOffAmt = 1180.0, 0
    sale.Save("Edit", cn, Y1, Y2)
    print("saved sale 101 again with its round-off at 0")
    show_rows(cn, 101)

    back = orv.create("ORVVchr.Sales")
    back.Read(101, cn, Y1, Y2)
    print(f"sale {back.V_Id} read back: {back.V_StrVchNo} of {back.V_Date:%Y-%m-%d}")
    for prefix, name in [
        ("Customer", "CustomerName"),
        ("Sales", "SalesAccName"),
        ("Vat", "VatAccName"),
        ("AddTax", "AddTaxAccName"),
        ("RndOff", "RndOffAccName"),
    ]:
        print(
            f"  {prefix + 'AccId':14} {getattr(back, prefix + 'AccId'):4}  {getattr(back, name):16}"
            f"{getattr(back, prefix + 'Amt'):9g} {getattr(back, prefix + 'AmtSign')}"
        )


def items(company, cn):
    heading("Items")
    table = "Items" + company.Table.AM[len("ACC_MASTER") :]
    # Groups, brands, colours, sizes and styles are rows of the item table too.
    for number, name, kind in [
        (2, "Shirts", "G"),
        (101, "Arrow", "B"),
        (201, "Sky blue", "C"),
        (302, "XL", "S"),
        (401, "Slim fit", "T"),
    ]:
        cn.Execute(
            f"Insert into {table} (IM_ItemId, IM_ItemName, IM_GrpFlag, IM_GrpNo, IM_GrpLevel)"
            f" values ({number}, '{name}', '{kind}', 0, 1)"
        )
    item = orv.create("ORVItems.clsItems")
    for name, rate in [
        ("Oxford shirt", 899.0),
        ("Linen shirt", 1299.0),
        ("Men's 'Casual' shirt", 649.0),
    ]:
        number = item.Get_New_ItemId(cn, Y1, Y2)
        put(item, ItemId=number, ItemName=name, IM_GrpNo=2, IM_Unit="Pcs", IM_UnitId=1)
        put(item, IM_ItemRate=rate, BrandId=101, ColorId=201, SizeId=302, StyleId=401)
        item.Save("New", number, cn, Y1, Y2)
        print(f"Get_New_ItemId proposed {number}; saved {name}")
    read = orv.create("ORVItems.clsItems")
    read.Read(1001, cn, Y1, Y2)
    print(
        f"read item 1001: {read.ItemName}, rate {read.IM_ItemRate:g}, group {read.GroupName}, "
        f"brand {read.BrandName}, colour {read.ColorName}, size {read.SizeName}, style {read.StyleName}"
    )
    query = f"Select IM_ItemId from {table} where IM_GrpFlag='I' order by IM_ItemName"
    count, listed = item.Get_Item_With_Details(query, cn, Y1, Y2, [])
    print(f"Get_Item_With_Details returned {count} items in a list of {len(listed)}:")
    for i in listed[:count]:
        print(f"  {i.ItemId}  {i.ItemName:22} {i.BrandName} / {i.SizeName}  {i.IM_ItemRate:g}")
    try:
        item.Get_Item_With_Details(f"Delete from {table}", cn, Y1, Y2, [])
    except orv.Error as e:
        print(f"a list query that deletes is refused: error {e.number}")


def main():
    data = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "demo-data").absolute()
    heading("Company")
    previous = data / "DEMO" / f"DEMO_{Y1}_{Y2}.mdb"
    for tail in ("", "-wal", "-shm"):
        pathlib.Path(str(previous) + tail).unlink(missing_ok=True)
    print("created year database", orv.create_year_database(data, "DEMO", Y1, Y2))

    orv.set_message_handler(lambda text: print(f"[message box] {text}"))
    company = orv.create("ORVCompany.clsCompany")
    print(f"created {company!r} from the registry {orv.registry_file()}")
    company.ShortName, company.CurrentYear1, company.CurrentYear2 = "DEMO", Y1, Y2
    company.ORVConnect(f"{data}/")
    cn = company.cn
    print(f"connected: {cn.ConnectionString}")
    print(f"account master table:  {company.Table.AM}\naccount details table: {company.Table.AD}")

    if available("ORVMasters.clsAccount"):
        accounts(company, cn)
        if available("ORVVouchers.clsRcptVoucher"):
            receipt(cn)
        if available("ORVVchr.Sales"):
            trade(cn)
    if available("ORVItems.clsItems"):
        items(company, cn)
    print("\nwalkthrough finished")


if __name__ == "__main__":
    try:
        main()
    except orv.Error as e:
        sys.exit(f"walkthrough failed: {e}")
