type
  TPoint = record
    X, Y: Integer;
  end;
  TElement = record
    Code: Integer;
    Name: string;
    Value: Float;
    Active: Boolean;
  end;
var p: TPoint;
  e: TElement;
begin
  p.X := 3;
  p.Y := -4;
  PrintLn(p.X + p.Y);
  PrintLn(p.X * p.X + p.Y * p.Y);
  e.Code := $1A;
  e.Name := 'feeder';
  e.Value := 12.5;
  e.Active := True;
  PrintLn(e.Code);
  PrintLn(e.Name);
  PrintLn(e.Value * 2);
  PrintLn(e.Active);
end.
