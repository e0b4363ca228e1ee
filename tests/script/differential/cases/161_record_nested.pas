type
  TAddress = record
    ObjCode, ObjType, Item: Integer;
  end;
  TReading = record
    Addr: TAddress;
    Value: Float;
  end;
var r: TReading;
  a: TAddress;
begin
  r.Addr.ObjCode := 26;
  r.Addr.ObjType := 99;
  r.Addr.Item := 3;
  r.Value := 1.25;
  PrintLn(IntToStr(r.Addr.ObjCode) + '.' + IntToStr(r.Addr.ObjType) + '.' + IntToStr(r.Addr.Item));
  a := r.Addr;
  a.Item := 4;
  PrintLn(r.Addr.Item);
  PrintLn(a.Item);
  PrintLn(r.Value * a.ObjCode);
end.
